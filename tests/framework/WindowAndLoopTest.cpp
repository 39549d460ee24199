#include "Application.h"
#include "Dialog.h"
#include "TestSupport.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A window or dialog object that records every message reaching it.
template <class Base>
class Recording : public Base {
public:
    using Base::Base;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        return Base::WindowProc(message, wParam, lParam);
    }
    bool Saw(UINT message) const { return std::count(messages.begin(), messages.end(), message) > 0; }
    std::vector<UINT> messages;
};

bool CreatePopup(Window& window)
{
    static ATOM registered = Window().RegisterWindowClass("VelkinTestWindow", 0, nullptr, nullptr, nullptr, nullptr);
    return registered && window.Create("VelkinTestWindow", "test", WS_POPUP, 0, 0, 0, 300, 200, nullptr, nullptr,
                                       nullptr);
}

TEST(WindowTest, SubclassAttachAndCenter)
{
    Recording<Window> window;
    Window other;
    ASSERT_TRUE(CreatePopup(window));
    ASSERT_TRUE(CreatePopup(other));
    EXPECT_EQ(reinterpret_cast<HANDLE>(&window), GetPropA(window.hwnd, "this pointer"));
    EXPECT_FALSE(window.Saw(WM_CREATE) || window.Saw(WM_NCCREATE));

    HWND handle = window.hwnd, otherHandle = other.hwnd;
    WNDPROC prev = window.prevWndProc;
    EXPECT_FALSE(window.Subclass());
    EXPECT_EQ(prev, window.prevWndProc) << "a second subclass would make the window call itself";
    EXPECT_TRUE(window.Unsubclass());
    EXPECT_FALSE(window.Unsubclass());
    EXPECT_EQ(nullptr, GetPropA(handle, "this pointer"));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(prev), GetWindowLongPtrA(handle, GWLP_WNDPROC));

    // Attach hands back the old window; messages reach the object once it subclasses.
    ASSERT_TRUE(window.Subclass());
    other.Unsubclass();
    EXPECT_EQ(handle, window.Attach(otherHandle));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(prev), GetWindowLongPtrA(handle, GWLP_WNDPROC));
    SendMessageA(otherHandle, WM_NULL, 0, 0);
    EXPECT_FALSE(window.Saw(WM_NULL)) << "attached, not yet subclassed";
    EXPECT_TRUE(window.Subclass());
    SendMessageA(otherHandle, WM_NULL, 0, 0);
    EXPECT_TRUE(window.Saw(WM_NULL));

    RECT placed;
    window.CenterWindow(nullptr);
    window.GetWindowRect(&placed);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 300) / 2, placed.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 200) / 2, placed.top);
    EXPECT_TRUE(window.Destroy());
    DestroyWindow(handle);
}

TEST(DialogTest, ModelessDialogStartsAtInitDialogAndIsReleasedWithoutSeeingDestroy)
{
    Recording<Dialog> dialog(MAKEINTRESOURCEA(100));
    ASSERT_NE(nullptr, dialog.CreateModeless());
    HWND handle = dialog.hwnd;
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), dialog.messages.empty() ? 0u : dialog.messages.front());
    dialog.messages.clear();
    dialog.Release();  // what the destructor does
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(dialog.Saw(WM_DESTROY) || dialog.Saw(WM_NCDESTROY));
    dialog.Release();  // no window: nothing happens
    DrainMessages();
}

class ScriptedApp : public Application {
public:
    BOOL InitInstance() override { return initResult; }
    int ExitInstance(int code) override { return exitCalled = true, Application::ExitInstance(code); }
    BOOL PreTranslateMessage(MSG* message) override { return message->message == WM_APP + 1; }
    // Three idle turns, a new message after each of the first two.
    void OnIdle(int count) override
    {
        idleCounts.push_back(count);
        if (idleCounts.size() < 3)
            PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
        else
            PostQuitMessage(2);
    }
    BOOL initResult = TRUE;
    bool exitCalled = false;
    std::vector<int> idleCounts;
};

TEST(ApplicationTest, LoopIdleTurnsPreTranslationQuitCodeAndCommandLine)
{
    ScriptedApp refusing;
    refusing.initResult = FALSE;
    EXPECT_EQ(0, refusing.Main());
    EXPECT_FALSE(refusing.exitCalled || !refusing.idleCounts.empty()) << "no loop and no ExitInstance";

    Recording<Window> target;
    ASSERT_TRUE(CreatePopup(target));
    ScriptedApp app;
    for (int i = 0; i < 3; ++i)
        PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    target.PostMessage(WM_APP + 1, 0, 0);
    EXPECT_EQ(2, app.Main());
    EXPECT_TRUE(app.exitCalled);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), app.idleCounts) << "counted since the queue last held a message";
    EXPECT_FALSE(target.Saw(WM_APP + 1));
    target.Destroy();

    // The probe's exit code is the length of the command line its application kept.
    std::string probe = "\"" + ProgramFolder() + "app_probe.exe\"";
    EXPECT_EQ(static_cast<int>(probe.size()) + 2, RunProgram(probe + " a"));
    EXPECT_EQ(255, RunProgram(probe + " " + std::string(400, 'a')));
}

}  // namespace
