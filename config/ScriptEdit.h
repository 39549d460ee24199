#pragma once

#include "Window.h"

// The script edit of the SSTP page. A script is one line, so Enter in it
// belongs to the dialog: it presses the sheet's default button (OK); and Esc
// cancels the sheet as everywhere else in it. Some edit controls claim every
// key of a multi-line edit; this one gives those two back to the dialog
// manager.
class ScriptEdit : public Window {
public:
    ~ScriptEdit() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsDialogKey(WPARAM key);
};
