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
        if (message == WM_SETICON)
            iconKinds.push_back(wParam);
        return Base::WindowProc(message, wParam, lParam);
    }
    bool Saw(UINT message) const { return std::count(messages.begin(), messages.end(), message) > 0; }
    std::vector<UINT> messages;
    std::vector<WPARAM> iconKinds;
};

bool CreatePopup(Window& window)
{
    static ATOM registered = Window().RegisterWindowClass("VelkinTestWindow", 0, nullptr, nullptr, nullptr, nullptr);
    return registered && window.Create("VelkinTestWindow", "test", WS_POPUP, 0, 0, 0, 300, 200, nullptr, nullptr,
                                       nullptr);
}

TEST(WindowTest, CreateSubclassesWithoutCreationMessagesAndSubclassingTwiceIsRefused)
{
    Recording<Window> window;
    ASSERT_TRUE(CreatePopup(window));
    EXPECT_EQ(&window, Window::FromHandle(window.hwnd));
    EXPECT_EQ(reinterpret_cast<HANDLE>(&window), GetPropA(window.hwnd, "this pointer"));
    EXPECT_FALSE(window.Saw(WM_CREATE));
    EXPECT_FALSE(window.Saw(WM_NCCREATE));
    window.SendMessage(WM_NULL, 0, 0);
    EXPECT_TRUE(window.Saw(WM_NULL));

    WNDPROC prev = window.prevWndProc;
    EXPECT_FALSE(window.Subclass());
    EXPECT_EQ(prev, window.prevWndProc) << "a second subclass would make the window call itself";
    EXPECT_TRUE(window.Unsubclass());
    EXPECT_FALSE(window.Unsubclass());
    EXPECT_EQ(nullptr, GetPropA(window.hwnd, "this pointer"));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(prev), GetWindowLongPtrA(window.hwnd, GWLP_WNDPROC));
    EXPECT_TRUE(window.Destroy());
    EXPECT_EQ(nullptr, window.hwnd);
}

TEST(WindowTest, AttachHandsBackTheOldWindowAndRestoresItsProcedure)
{
    Recording<Window> first;
    Window second;
    ASSERT_TRUE(CreatePopup(first));
    ASSERT_TRUE(CreatePopup(second));
    HWND firstHandle = first.hwnd, secondHandle = second.hwnd;
    WNDPROC original = first.prevWndProc;
    second.Unsubclass();

    EXPECT_EQ(firstHandle, first.Attach(secondHandle));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(original), GetWindowLongPtrA(firstHandle, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, GetPropA(firstHandle, "this pointer"));
    SendMessageA(secondHandle, WM_NULL, 0, 0);
    EXPECT_FALSE(first.Saw(WM_NULL)) << "attached, not yet subclassed";
    EXPECT_TRUE(first.Subclass());
    SendMessageA(secondHandle, WM_NULL, 0, 0);
    EXPECT_TRUE(first.Saw(WM_NULL));
    first.Destroy();
    DestroyWindow(firstHandle);
}

TEST(WindowTest, CenterWindowAndSetIcon)
{
    Recording<Window> window;
    ASSERT_TRUE(CreatePopup(window));
    RECT desktop, placed;
    ::GetWindowRect(GetDesktopWindow(), &desktop);
    window.CenterWindow(nullptr);
    window.GetWindowRect(&placed);
    EXPECT_EQ(((desktop.right - desktop.left) - 300) / 2, placed.left);
    EXPECT_EQ(((desktop.bottom - desktop.top) - 200) / 2, placed.top);

    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    window.SetIcon(icon, 5);  // any true value is the big icon
    window.SetIcon(icon, FALSE);
    EXPECT_EQ((std::vector<WPARAM>{ICON_BIG, ICON_SMALL}), window.iconKinds);
    window.Destroy();
}

TEST(DialogTest, ModelessDialogStartsAtInitDialogAndIsReleasedWithoutSeeingDestroy)
{
    Recording<Dialog> dialog(MAKEINTRESOURCEA(100));
    ASSERT_NE(nullptr, dialog.CreateModeless());
    HWND handle = dialog.hwnd;
    ASSERT_FALSE(dialog.messages.empty());
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), dialog.messages.front());
    EXPECT_EQ(&dialog, Window::FromHandle(handle));
    dialog.messages.clear();
    dialog.Release();  // what the destructor does
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(nullptr, dialog.hwnd);
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

TEST(ApplicationTest, InitInstanceRefusingEndsWithZeroWithoutLoopOrExitInstance)
{
    ScriptedApp app;
    app.initResult = FALSE;
    EXPECT_EQ(0, app.Main());
    EXPECT_FALSE(app.exitCalled);
    EXPECT_TRUE(app.idleCounts.empty());
}

TEST(ApplicationTest, LoopCountsIdleTurnsSkipsPreTranslatedMessagesAndEndsWithTheQuitCode)
{
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
}

// The probe's exit code is the length of the command line its application kept.
TEST(ApplicationTest, CommandLineIsCutTo255Bytes)
{
    std::string probe = "\"" + ProgramFolder() + "app_probe.exe\"";
    EXPECT_EQ(static_cast<int>(probe.size()) + 2, RunProgram(probe + " a"));
    EXPECT_EQ(255, RunProgram(probe + " " + std::string(400, 'a')));
}

}  // namespace
