#pragma once

#include "ConfigPage.h"

// The disc database server that the player asks for the titles of a disc
// that no "cdplayer.ini" knows, and whether it asks by itself.
class CddbPage : public ConfigPage {
public:
    explicit CddbPage(ConfigApp& application);
    ~CddbPage() override;
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;
};
