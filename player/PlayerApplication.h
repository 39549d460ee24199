#pragma once

#include "Application.h"
#include "PlayerWindow.h"
#include "ProfileFile.h"
#include "Settings.h"

extern const char PlayerWindowClassName[];  // "VelkinPlayerWndClass"
extern const char PlayerTitle[];            // "Velkinプレイヤー"

// The player program: a hidden window and its message loop.
class PlayerApplication : public Application {
public:
    PlayerApplication();
    ~PlayerApplication() override;

    BOOL InitApplication() override;
    BOOL InitInstance() override;
    int ExitInstance(int exitCode) override;

    PlayerWindow window;
    ProfileFile DiscDatabase;
    ProfileFile settingsFile;
    Settings settings;
};
