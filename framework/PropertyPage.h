#pragma once

#include "Dialog.h"

#include <commctrl.h>

// One page of a property sheet. The sheet's notifications reach the page's
// hooks; each hook returns TRUE to let the sheet go on.
class PropertyPage : public Dialog {
public:
    PropertyPage();
    ~PropertyPage() override;
    void Release() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual BOOL OnQueryCancel();
    virtual BOOL OnApply();
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnWizardBack();
    virtual BOOL OnWizardNext();
    virtual BOOL OnWizardFinish();

    void SetTemplate(UINT templateId, UINT iconId);

    static INT_PTR CALLBACK StaticPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The form with header title and subtitle: dwSize 48.
    PROPSHEETPAGEA_V2 pageData;

private:
    void ResetPageData();
    LRESULT OnNotify(const NMHDR* header);
};
