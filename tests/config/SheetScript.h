#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives a modal dialog loop from inside: the steps run one after the other
// on a thread timer, which every modal loop of this thread dispatches. A
// step returns false to be tried again on the next tick (a window it waits
// for is not there yet). Steps should post rather than send anything that
// opens a modal window, so that they return at once.
class SheetScript {
public:
    using Step = std::function<bool()>;

    SheetScript& Then(Step step);
    // Runs body (which enters the modal loop) with the steps. Steps left when
    // body returns, or a script that runs far too long, fail the test.
    void Run(const std::function<void()>& body);
    // Called when the script gives up, to end the modal loop.
    std::function<void()> abort;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    std::vector<Step> steps;
    size_t next = 0;
    unsigned ticks = 0;
    bool busy = false;
    bool gaveUp = false;
};

// A visible top-level dialog of the thread with the given caption (any
// caption when it is empty), other than except, or null.
HWND FindThreadDialog(DWORD threadId, const std::string& caption, HWND except = nullptr);
// Posts IDOK, IDNO and IDCANCEL to every dialog of this thread but except.
void DismissThreadDialogs(HWND except);
// Text and icon of a message box; PressButton posts the button's command.
std::string MessageBoxText(HWND box);
HICON MessageBoxIcon(HWND box);
void PressButton(HWND dialog, int id);
// The text of a window, as the A functions give it (Shift_JIS).
std::string WindowText(HWND window);
