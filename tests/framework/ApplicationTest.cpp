#include "Application.h"
#include "TestSupport.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ScriptedApp : public Application {
public:
    BOOL InitInstance() override { return initResult; }
    int ExitInstance(int code) override
    {
        exitCalled = true;
        return Application::ExitInstance(code);
    }
    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message == WM_APP + 1) {
            swallowed++;
            return TRUE;
        }
        return FALSE;
    }
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
    int swallowed = 0;
    std::vector<int> idleCounts;
};

TEST(ApplicationTest, InitInstanceRefusingEndsWithZeroWithoutTheLoop)
{
    ScriptedApp app;
    app.initResult = FALSE;
    EXPECT_EQ(0, app.Main());
    EXPECT_FALSE(app.exitCalled);
    EXPECT_TRUE(app.idleCounts.empty());
}

TEST(ApplicationTest, IdleCountsFollowTheQueueAndQuitCodeIsTheExitCode)
{
    ScriptedApp app;
    DWORD thread = GetCurrentThreadId();
    PostThreadMessageA(thread, WM_APP, 0, 0);
    PostThreadMessageA(thread, WM_APP, 0, 0);
    PostThreadMessageA(thread, WM_APP, 0, 0);
    EXPECT_EQ(2, app.Main());
    EXPECT_TRUE(app.exitCalled);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), app.idleCounts);
}

TEST(ApplicationTest, PreTranslatedMessagesAreNotDispatched)
{
    class Target : public Window {
    public:
        LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override
        {
            if (message == WM_APP + 1)
                ++seen;
            return Window::WindowProc(message, w, l);
        }
        int seen = 0;
    } target;
    target.RegisterWindowClass("VelkinLoopTarget", 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(target.Create("VelkinLoopTarget", "", WS_POPUP, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr));

    ScriptedApp app;
    app.idleCounts = {0, 0};  // the first idle quits
    target.PostMessage(WM_APP + 1, 0, 0);
    app.Run();
    EXPECT_EQ(1, app.swallowed);
    EXPECT_EQ(0, target.seen);
    target.Destroy();
}

TEST(ApplicationTest, NamesAreCutAndInitRecordsTheEntryValues)
{
    Application app;
    std::string longTitle(200, 'x');
    app.SetNames(longTitle.c_str(), "2.01");
    EXPECT_EQ(127u, strlen(app.title));
    EXPECT_STREQ("2.01", app.version);
    EXPECT_EQ(SW_SHOWNORMAL, app.showCommand);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    app.Init(instance, nullptr, SW_HIDE);
    EXPECT_EQ(instance, app.instance);
    EXPECT_EQ(SW_HIDE, app.showCommand);
    EXPECT_STREQ((ProgramFolder() + "framework_tests.exe").c_str(), app.modulePath);
}

// The probe program's exit code tells what the framework made of its run.
TEST(ApplicationTest, ProcessExitCodes)
{
    std::string probe = "\"" + ProgramFolder() + "app_probe.exe\"";
    EXPECT_EQ(0, RunProgram(probe + " refuse"));
    EXPECT_EQ(2, RunProgram(probe + " quit2"));
    EXPECT_EQ(255, RunProgram(probe + " length " + std::string(400, 'a')));
    EXPECT_EQ(static_cast<int>(probe.size() + 7), RunProgram(probe + " length"));
}

}  // namespace
