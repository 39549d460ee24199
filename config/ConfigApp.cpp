#include "ConfigApp.h"

#include "NamedMutex.h"
#include "Text.h"
#include "VelkinVersion.h"
#include "resource.h"

#include <commctrl.h>

const char ConfigTitle[] = "Velkinプレイヤーの設定";
const char ConfigMutexName[] = "VLKConfigMutex";

ConfigApp::ConfigApp()
    : sheet(*this), generalPage(*this), shortcutKeyPage(*this), sstpPage(*this), cddbPage(*this), instanceMutex(nullptr),
      settings(), appIcon(nullptr)
{
    SetNames(ConfigTitle, VELKIN_VERSION);
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

bool ConfigApp::ClaimInstance()
{
    return ClaimNamedMutex(ConfigMutexName, FALSE, &instanceMutex);
}

void ConfigApp::SetupSheet()
{
    PropertyPage* pages[] = {&generalPage, &shortcutKeyPage, &sstpPage, &cddbPage};
    sheet.Setup(pages, 4, title, nullptr, FALSE, FALSE, 0, 0);
}

BOOL ConfigApp::InitInstance()
{
    // A second start ends at once, without a word and without writing.
    if (!ClaimInstance())
        return FALSE;

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    appIcon = LoadIcon(IDI_GENERAL);
    SetupSheet();
    sheet.DoModal();
    PostQuitMessage(sheet.result);
    return TRUE;
}

int ConfigApp::ExitInstance(int exitCode)
{
    if (exitCode == IDOK) {
        SaveOrWarn(settingsFile);
        generalPage.ApplyStartup();
    }
    return exitCode;
}

bool ConfigApp::SaveOrWarn(ProfileFile& file)
{
    SaveResult result = SaveSettings(file, settings);
    if (result == SavedAll)
        return true;
    // The user pressed OK and believes the settings are kept: say what became of them.
    const char* what = result == SavedNothing ? "設定は保存されていません。" : "設定は一部しか保存されていません。";
    char text[512];
    FormatText(text, sizeof text, "設定ファイルに書き込めませんでした。\n%s\n\n%s", file.path, what);
    ::MessageBoxA(nullptr, text, title, MB_OK | MB_ICONERROR);
    return false;
}
