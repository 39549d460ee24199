#pragma once

#include "Application.h"
#include "CddbPage.h"
#include "ConfigSheet.h"
#include "GeneralPage.h"
#include "ProfileFile.h"
#include "Settings.h"
#include "ShortcutKeyPage.h"
#include "SstpPage.h"

extern const char ConfigTitle[];  // "Velkinプレイヤーの設定"
extern const char ConfigMutexName[];

// The configuration program: one modal sheet; OK writes every setting but
// the drive, anything else writes nothing.
class ConfigApp : public Application {
public:
    ConfigApp();
    ~ConfigApp() override;

    BOOL InitApplication() override;
    BOOL InitInstance() override;
    int ExitInstance(int exitCode) override;

    // Steps of InitInstance, apart so that tests can run the sheet alone.
    // False when another instance runs; otherwise the mutex is made.
    bool ClaimInstance();
    void SetupSheet();
    // Writes the settings into the file; tells the user when it could not be
    // written whole.
    bool SaveOrWarn(ProfileFile& file);

    ConfigSheet sheet;
    GeneralPage generalPage;
    ShortcutKeyPage shortcutKeyPage;
    SstpPage sstpPage;
    CddbPage cddbPage;
    ProfileFile settingsFile;
    HANDLE instanceMutex;
    Settings settings;
    HICON appIcon;
};
