#include "ConfigApp.h"

const char ConfigTitle[] = "Velkinプレイヤーの設定";

ConfigApp::ConfigApp() : settings()
{
    SetNames(ConfigTitle, "1.00");
}

ConfigApp::~ConfigApp() {}

BOOL ConfigApp::InitApplication()
{
    char settingsPath[MAX_PATH];
    BuildSettingsPath(modulePath, settingsPath, sizeof settingsPath);
    settingsFile.SetPath(settingsPath);
    LoadSettings(settingsFile, settings);
    return TRUE;
}

BOOL ConfigApp::InitInstance()
{
    return FALSE;
}
