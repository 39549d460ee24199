#pragma once

#include "ConfigPage.h"
#include "ListBox.h"

// The fifteen commands with their keys, and whether the keyboard's media keys
// act. Every change is stored at once into the settings; the file gets them on OK.
class ShortcutKeyPage : public ConfigPage {
public:
    explicit ShortcutKeyPage(ConfigApp& application);
    ~ShortcutKeyPage() override;
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;

    void ShowBinding();
    void StoreBinding();
    void ResetBindings();

    ListBox commandList;
    Window keyList;
};
