#include "Dialog.h"
#include "TestSupport.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char TestClass[] = "VelkinTestWindow";

// Records every message that reaches its object.
class RecordingWindow : public Window {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        if (message == WM_SETICON)
            iconKinds.push_back(wParam);
        return Window::WindowProc(message, wParam, lParam);
    }
    bool Saw(UINT message) const
    {
        for (UINT m : messages)
            if (m == message)
                return true;
        return false;
    }
    std::vector<UINT> messages;
    std::vector<WPARAM> iconKinds;
};

class RecordingDialog : public Dialog {
public:
    RecordingDialog() : Dialog(MAKEINTRESOURCEA(100)) {}
    LRESULT WindowProc(UINT message, WPARAM, LPARAM) override
    {
        messages.push_back(message);
        return FALSE;
    }
    std::vector<UINT> messages;
};

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Window registrar;
        registrar.RegisterWindowClass(TestClass, 0, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DrainMessages(); }

    static bool CreatePopup(Window& window, int width = 300, int height = 200)
    {
        return window.Create(TestClass, "test", WS_POPUP, 0, 0, 0, width, height, nullptr, nullptr, nullptr);
    }
};

TEST_F(WindowTest, CreateSubclassesWithoutPassingCreationMessages)
{
    RecordingWindow window;
    ASSERT_TRUE(CreatePopup(window));
    EXPECT_EQ(&window, Window::FromHandle(window.hwnd));
    EXPECT_EQ(reinterpret_cast<HANDLE>(&window), GetPropA(window.hwnd, "this pointer"));
    EXPECT_NE(nullptr, window.prevWndProc);
    EXPECT_FALSE(window.Saw(WM_CREATE));
    EXPECT_FALSE(window.Saw(WM_NCCREATE));

    window.SendMessage(WM_NULL, 0, 0);
    EXPECT_TRUE(window.Saw(WM_NULL));
    EXPECT_TRUE(window.Destroy());
    EXPECT_EQ(nullptr, window.hwnd);
}

TEST_F(WindowTest, SubclassTwiceAndUnsubclassWhenNotSubclassedAreRefused)
{
    RecordingWindow window;
    ASSERT_TRUE(CreatePopup(window));
    WNDPROC prev = window.prevWndProc;
    EXPECT_FALSE(window.Subclass());
    EXPECT_EQ(prev, window.prevWndProc);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(Window::StaticWindowProc), GetWindowLongPtrA(window.hwnd, GWLP_WNDPROC));

    EXPECT_TRUE(window.Unsubclass());
    EXPECT_FALSE(window.Unsubclass());
    EXPECT_EQ(nullptr, GetPropA(window.hwnd, "this pointer"));
    EXPECT_EQ(0, window.DefaultProc(WM_GETTEXTLENGTH, 0, 0));
    DestroyWindow(window.hwnd);
}

TEST_F(WindowTest, AttachHandsBackTheOldWindowAndRestoresItsProcedure)
{
    RecordingWindow first;
    ASSERT_TRUE(CreatePopup(first));
    HWND firstHandle = first.hwnd;
    WNDPROC original = first.prevWndProc;

    Window plain;
    ASSERT_TRUE(CreatePopup(plain));
    HWND secondHandle = plain.hwnd;
    plain.Unsubclass();

    EXPECT_EQ(firstHandle, first.Attach(secondHandle));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(original), GetWindowLongPtrA(firstHandle, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, GetPropA(firstHandle, "this pointer"));

    first.messages.clear();
    SendMessageA(secondHandle, WM_NULL, 0, 0);
    EXPECT_TRUE(first.messages.empty());
    EXPECT_TRUE(first.Subclass());
    SendMessageA(secondHandle, WM_NULL, 0, 0);
    EXPECT_TRUE(first.Saw(WM_NULL));

    first.Destroy();
    DestroyWindow(firstHandle);
}

TEST_F(WindowTest, CenterMoveAndIcon)
{
    RecordingWindow window;
    ASSERT_TRUE(CreatePopup(window, 300, 200));
    RECT desktop;
    ::GetWindowRect(GetDesktopWindow(), &desktop);
    window.CenterWindow(nullptr);
    RECT placed;
    window.GetWindowRect(&placed);
    EXPECT_EQ(((desktop.right - desktop.left) - 300) / 2, placed.left);
    EXPECT_EQ(((desktop.bottom - desktop.top) - 200) / 2, placed.top);
    if (desktop.right == 1024 && desktop.bottom == 768) {
        EXPECT_EQ(362, placed.left);
        EXPECT_EQ(284, placed.top);
    }

    RECT target = {10, 20, 110, 70};
    window.MoveWindow(target, TRUE);
    window.GetWindowRect(&placed);
    EXPECT_EQ(100, placed.right - placed.left);
    EXPECT_EQ(50, placed.bottom - placed.top);

    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    window.SetIcon(icon, 5);
    window.SetIcon(icon, 0);
    ASSERT_EQ(2u, window.iconKinds.size());
    EXPECT_EQ(static_cast<WPARAM>(ICON_BIG), window.iconKinds[0]);
    EXPECT_EQ(static_cast<WPARAM>(ICON_SMALL), window.iconKinds[1]);
    window.Destroy();
}

TEST_F(WindowTest, MessagesOfAWindowWithoutObjectAreAnsweredWithZero)
{
    HWND bare = CreateWindowExA(0, TestClass, "bare", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, bare);
    EXPECT_EQ(0, Window::StaticWindowProc(bare, WM_GETTEXTLENGTH, 0, 0));
    DestroyWindow(bare);
}

TEST_F(WindowTest, ModelessDialogStartsAtInitDialogAndDiesWithoutSeeingDestroy)
{
    HWND dialogHandle;
    {
        RecordingDialog dialog;
        ASSERT_NE(nullptr, dialog.CreateModeless());
        dialogHandle = dialog.hwnd;
        ASSERT_FALSE(dialog.messages.empty());
        EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), dialog.messages.front());
        EXPECT_EQ(&dialog, static_cast<Dialog*>(Window::FromHandle(dialogHandle)));
        dialog.messages.clear();
        EXPECT_TRUE(IsWindow(dialogHandle));
        // The destructor runs here.
        dialog.Release();
        EXPECT_FALSE(IsWindow(dialogHandle));
        for (UINT m : dialog.messages) {
            EXPECT_NE(static_cast<UINT>(WM_DESTROY), m);
            EXPECT_NE(static_cast<UINT>(WM_NCDESTROY), m);
        }
        EXPECT_EQ(nullptr, dialog.hwnd);
    }
    RecordingDialog never;
    never.Release();  // no window: nothing happens
    EXPECT_EQ(nullptr, never.hwnd);
}

TEST_F(WindowTest, ModalDialogEndsWithTheValueGivenToEndDialog)
{
    class EndingDialog : public Dialog {
    public:
        EndingDialog() : Dialog(MAKEINTRESOURCEA(100)) {}
        LRESULT WindowProc(UINT message, WPARAM, LPARAM) override
        {
            if (message == WM_INITDIALOG) {
                sawModal = modal;
                EndDialog(42);
            }
            return FALSE;
        }
        int sawModal = -1;
    } dialog;
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_EQ(1, dialog.sawModal);
    EXPECT_EQ(0, dialog.modal);
}

}  // namespace
