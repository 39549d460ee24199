#include "ScriptEdit.h"

ScriptEdit::~ScriptEdit() {}

bool ScriptEdit::IsDialogKey(WPARAM key)
{
    if (key == VK_ESCAPE)
        return true;
    return key == VK_RETURN && !(GetWindowLong(GWL_STYLE) & ES_WANTRETURN);
}

LRESULT ScriptEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultProc(message, wParam, lParam);
    if (message == WM_GETDLGCODE && lParam != 0) {
        const MSG* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending->message == WM_KEYDOWN && IsDialogKey(pending->wParam))
            result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
    }
    return result;
}
