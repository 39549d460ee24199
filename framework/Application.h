#pragma once

#include <windows.h>

// The one application object of a program: start-up hooks, the message loop
// and the exit hook whose result becomes the process exit code.
class Application {
public:
    Application();
    virtual ~Application();  // the derived application owns members with destructors

    virtual void Release();
    virtual DWORD Init(HINSTANCE instanceHandle, HINSTANCE prevInstanceHandle, int show);
    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance(int exitCode);
    virtual BOOL PreTranslateMessage(MSG* message);
    virtual int Run();
    virtual void OnIdle(int count);

    int Main();
    void SetNames(LPCSTR titleText, LPCSTR versionText);
    HICON LoadIcon(LPCSTR name);
    HICON LoadIcon(UINT id);

    char title[128];
    char version[128];
    HINSTANCE instance;
    HINSTANCE prevInstance;
    char commandLine[256];
    int showCommand;
    char modulePath[MAX_PATH];
    HWND accelWindow;
    HACCEL accelTable;
};
