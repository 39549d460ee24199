#include "Application.h"
#include "TestSupport.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A window that notes whether a message of the test reached it.
class Target : public Window {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        reached = reached || message == WM_APP + 1;
        return Window::WindowProc(message, wParam, lParam);
    }
    bool reached = false;
};

class ScriptedApp : public Application {
public:
    int ExitInstance(int code) override { return exitCalled = true, Application::ExitInstance(code); }
    BOOL PreTranslateMessage(MSG* message) override { return message->message == WM_APP + 1; }
    bool exitCalled = false;
};

// The player's dialogs take their keys through PreTranslateMessage; the
// programs' exit codes are the quit codes.
TEST(ApplicationTest, LoopPreTranslatesEndsWithTheQuitCodeAndKeepsABoundedCommandLine)
{
    Target target;
    ASSERT_TRUE(Window().RegisterWindowClass("VelkinTestWindow", 0, nullptr, nullptr, nullptr, nullptr) &&
                target.Create("VelkinTestWindow", "test", WS_POPUP, 0, 0, 0, 30, 20, nullptr, nullptr, nullptr));
    ScriptedApp app;
    target.PostMessage(WM_APP + 1, 0, 0);
    PostQuitMessage(2);
    EXPECT_EQ(2, app.Main());
    EXPECT_TRUE(app.exitCalled);
    EXPECT_FALSE(target.reached) << "the application took it";
    target.Destroy();

    // The probe's exit code is the length of the command line its application kept.
    std::string probe = "\"" + ProgramFolder() + "app_probe.exe\"";
    EXPECT_EQ(static_cast<int>(probe.size()) + 2, RunProgram(probe + " a"));
    EXPECT_EQ(255, RunProgram(probe + " " + std::string(400, 'a')));
}

}  // namespace
