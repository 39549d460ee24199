#include "SheetScript.h"

#include <gtest/gtest.h>

// Generous: a script still running after three thousand ticks is stuck, not slow.
static const unsigned TickLimit = 3000;
static SheetScript* running;

SheetScript& SheetScript::Then(Step step)
{
    steps.push_back(step);
    return *this;
}

void SheetScript::Run(const std::function<void()>& body)
{
    running = this;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
    body();
    KillTimer(nullptr, timer);
    running = nullptr;
    EXPECT_FALSE(gaveUp) << "the script gave up at step " << next;
    EXPECT_EQ(steps.size(), next) << "the modal loop ended before every step had run";
}

void CALLBACK SheetScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (running)
        running->OnTick();
}

void SheetScript::OnTick()
{
    if (busy)
        return;
    busy = true;
    // The watch goes on after the last step, which should end the loop.
    if (++ticks > TickLimit) {
        if (!gaveUp && abort)
            abort();
        gaveUp = true;
    } else if (next < steps.size() && steps[next]()) {
        ++next;
    }
    busy = false;
}

namespace {
struct DialogSearch {
    std::string caption;
    HWND except;
    HWND found;
};
}  // namespace

static BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0 || !IsWindowVisible(window) || window == search->except)
        return TRUE;
    if (!search->caption.empty() && WindowText(window) != search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindThreadDialog(DWORD threadId, const std::string& caption, HWND except)
{
    DialogSearch search = {caption, except, nullptr};
    EnumThreadWindows(threadId, MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

static BOOL CALLBACK DismissDialog(HWND window, LPARAM except)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && window != reinterpret_cast<HWND>(except)) {
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        PostMessageA(window, WM_COMMAND, IDNO, 0);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

void DismissThreadDialogs(HWND except)
{
    EnumThreadWindows(GetCurrentThreadId(), DismissDialog, reinterpret_cast<LPARAM>(except));
}

std::string WindowText(HWND window)
{
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

static BOOL CALLBACK FindStatic(HWND child, LPARAM param)
{
    std::pair<bool, HWND>* wanted = reinterpret_cast<std::pair<bool, HWND>*>(param);
    char className[32] = "";
    GetClassNameA(child, className, sizeof className);
    if (_stricmp(className, "Static") != 0)
        return TRUE;
    bool isIcon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (isIcon != wanted->first)
        return TRUE;
    wanted->second = child;
    return FALSE;
}

std::string MessageBoxText(HWND box)
{
    std::pair<bool, HWND> wanted(false, nullptr);
    EnumChildWindows(box, FindStatic, reinterpret_cast<LPARAM>(&wanted));
    return wanted.second ? WindowText(wanted.second) : std::string("<no text>");
}

HICON MessageBoxIcon(HWND box)
{
    std::pair<bool, HWND> wanted(true, nullptr);
    EnumChildWindows(box, FindStatic, reinterpret_cast<LPARAM>(&wanted));
    if (!wanted.second)
        return nullptr;
    return reinterpret_cast<HICON>(SendMessageA(wanted.second, STM_GETICON, 0, 0));
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
