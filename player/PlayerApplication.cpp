#include "PlayerApplication.h"

#include "Text.h"

const char PlayerWindowClassName[] = "VelkinPlayerWndClass";
const char PlayerTitle[] = "Velkinプレイヤー";

PlayerApplication::PlayerApplication() : window(*this), settings() {}

PlayerApplication::~PlayerApplication() {}

BOOL PlayerApplication::InitApplication()
{
    char databasePath[MAX_PATH] = "";
    SearchPathA(nullptr, "cdplayer.ini", nullptr, sizeof databasePath, databasePath, nullptr);
    DiscDatabase.SetPath(databasePath);

    char settingsPath[MAX_PATH];
    BuildSettingsPath(modulePath, settingsPath, sizeof settingsPath);
    settingsFile.SetPath(settingsPath);
    LoadSettings(settingsFile, settings);
    return TRUE;
}

BOOL PlayerApplication::InitInstance()
{
    SetNames(PlayerTitle, "2.01");
    window.RegisterWindowClass(PlayerWindowClassName, 0, nullptr, nullptr, nullptr, nullptr);
    window.Create(PlayerWindowClassName, title, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                  nullptr);
    return TRUE;
}

int PlayerApplication::ExitInstance(int exitCode)
{
    SaveDrive(settingsFile, settings.Drive);
    return exitCode;
}
