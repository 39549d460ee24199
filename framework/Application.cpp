#include "Application.h"

#include "Text.h"

Application::Application()
    : title(), version(), instance(nullptr), prevInstance(nullptr), commandLine(), showCommand(SW_SHOWNORMAL),
      modulePath(), accelWindow(nullptr), accelTable(nullptr)
{
}

Application::~Application()
{
    Application::Release();
}

void Application::Release() {}

DWORD Application::Init(HINSTANCE instanceHandle, HINSTANCE prevInstanceHandle, int show)
{
    instance = instanceHandle;
    prevInstance = prevInstanceHandle;
    CopyText(commandLine, sizeof commandLine, GetCommandLineA());
    showCommand = show;
    return GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
}

BOOL Application::InitApplication()
{
    return TRUE;
}

BOOL Application::InitInstance()
{
    return TRUE;
}

int Application::ExitInstance(int exitCode)
{
    return exitCode;
}

BOOL Application::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void Application::OnIdle(int) {}

int Application::Main()
{
    InitApplication();
    if (!InitInstance())
        return 0;
    return Run();
}

int Application::Run()
{
    MSG message = {};
    int idleCount = 0;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            return ExitInstance(static_cast<int>(message.wParam));
        if (!PreTranslateMessage(&message) && !TranslateAcceleratorA(accelWindow, accelTable, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MSG waiting;
        if (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
            idleCount = 0;
            continue;
        }
        OnIdle(++idleCount);
    }
}

void Application::SetNames(LPCSTR titleText, LPCSTR versionText)
{
    CopyText(title, sizeof title, titleText);
    CopyText(version, sizeof version, versionText);
}

HICON Application::LoadIcon(LPCSTR name)
{
    return ::LoadIconA(instance, name);
}

HICON Application::LoadIcon(UINT id)
{
    return ::LoadIconA(instance, MAKEINTRESOURCEA(LOWORD(id)));
}
