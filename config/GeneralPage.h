#pragma once

#include "ConfigPage.h"
#include "StartupEntry.h"

// The start page: play and sound options, the WAVE file, the intro time and
// the start at logon. It also ties the sheet object to the sheet window.
class GeneralPage : public ConfigPage {
public:
    explicit GeneralPage(ConfigApp& application);
    ~GeneralPage() override;
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam) override;

    void UpdateSoundControls();
    void BrowseSoundFile();
    void ShowStartup();
    // Puts the start-at-logon choice in place once OK has been pressed; tells
    // the user when the registry refused it.
    bool ApplyStartup();

    StartupEntry startup;
    bool startAtLogon;  // the box as the user left it

    static const char SoundFilter[];
};
