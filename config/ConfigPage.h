#pragma once

#include "PropertyPage.h"

class ConfigApp;

// Base of the three pages: WM_INITDIALOG and WM_COMMAND go to the page's own
// handlers (but the corner icon's command, the same on every page, is
// answered here), the sheet's notifications to the PropertyPage hooks.
class ConfigPage : public PropertyPage {
public:
    ConfigPage(ConfigApp& application, UINT templateId, UINT iconId);
    ~ConfigPage() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    void EnableControl(int controlId, BOOL enable);

    ConfigApp& app;

private:
    // The corner icon at a large icon's size at the page's display scale.
    void FitPageIcon();

    UINT iconId;
    HICON pageIcon;  // what FitPageIcon loaded
};
