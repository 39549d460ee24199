#pragma once

#include "ConfigPage.h"
#include "ListBox.h"

// The fifteen commands with their keys. Every change is stored at once into
// the settings' hotKeys; the file gets them on OK.
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
