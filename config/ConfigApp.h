#pragma once

#include "Application.h"
#include "ProfileFile.h"
#include "Settings.h"

extern const char ConfigTitle[];  // "Velkinプレイヤーの設定"

// The configuration program.
class ConfigApp : public Application {
public:
    ConfigApp();
    ~ConfigApp() override;

    BOOL InitApplication() override;
    BOOL InitInstance() override;

    ProfileFile settingsFile;
    Settings settings;
};
