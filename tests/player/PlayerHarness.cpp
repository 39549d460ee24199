#include "PlayerHarness.h"

#include <stdlib.h>

PlayerHarness::PlayerHarness()
{
    app.instance = GetModuleHandleA(nullptr);
    app.SetNames(PlayerTitle, PlayerVersion);
    app.settingsFile.SetPath(folder.File("velkin.ini").c_str());
    app.DiscDatabase.SetPath(folder.File("cdplayer.ini").c_str());
    LoadSettings(app.settingsFile, app.settings);
    app.settings.SoundOnInsert = 0;
}

PlayerHarness::~PlayerHarness()
{
    app.cdDevice.Stop();
    app.window.Destroy();
    DrainMessages();
    if (app.popupMenu)
        DestroyMenu(app.popupMenu);
    app.popupMenu = nullptr;
    app.trayMenus.FreeMenuBitmaps();
}

void PlayerHarness::Start()
{
    app.CreatePlayerWindow();
    app.LoadPopupMenu();
    app.OpenCdDevice();
}

std::vector<int> PlayerHarness::PlayedTracks() const
{
    std::vector<int> tracks;
    for (const std::string& line : Plays())
        tracks.push_back(static_cast<int>(LogValue(line, "from") < 0 ? 0 : LogValue(line, "from") & 0xFF));
    return tracks;
}

long LogValue(const std::string& line, const char* name)
{
    std::string key = std::string(" ") + name + "=";
    size_t at = line.find(key);
    return at == std::string::npos ? -1 : static_cast<long>(strtoul(line.c_str() + at + key.size(), nullptr, 0));
}
