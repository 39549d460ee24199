#pragma once

#include "ConfigPage.h"

// The start page: play and sound options, the WAVE file and the intro time.
// It also ties the sheet object to the sheet window.
class GeneralPage : public ConfigPage {
public:
    explicit GeneralPage(ConfigApp& application);
    ~GeneralPage() override;
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;

    void UpdateSoundControls();
    void BrowseSoundFile();

    static const char SoundFilter[];
};
