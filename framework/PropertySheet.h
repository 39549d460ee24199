#pragma once

#include "Dialog.h"
#include "PropertyPage.h"

// <prsht.h> maps the name PropertySheet to PropertySheetA; here it names the class.
#undef PropertySheet

// A property sheet over pages that the caller owns. Once its window is
// attached, the sheet object sees the OK and Cancel commands.
class PropertySheet : public Dialog {
public:
    PropertySheet();
    ~PropertySheet() override;
    void Release() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND CreateModeless() override;
    int DoModal() override;

    virtual BOOL AttachWindow(HWND sheetWindow);
    virtual int OnOK();
    virtual int OnCancel();

    BOOL Setup(PropertyPage* const* pageList, int pageCount, LPCSTR captionText, HWND parentWindow,
               BOOL showApplyNow, BOOL hasHelp, int startPage, UINT iconId);

    PropertyPage** pages;
    // The form with watermark and header bitmaps: dwSize 52.
    PROPSHEETHEADERA header;
    char caption[128];
    int result;

private:
    void ResetHeader();
    INT_PTR Show(BOOL modeless);
};
