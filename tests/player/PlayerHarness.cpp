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
    for (const std::string& line : Plays()) {
        long from = LogValue(line, "from");
        tracks.push_back(from < 0 ? 0 : static_cast<int>(from & 0xFF));
    }
    return tracks;
}

bool PlayerHarness::WaitForPlays(size_t count, DWORD timeoutMs)
{
    return WaitFor([&] { return Plays().size() >= count; }, timeoutMs);
}

bool PlayerHarness::WaitForStop(DWORD timeoutMs)
{
    return WaitFor([&] { return app.cdDevice.GetMode() == CdModeStopped; }, timeoutMs);
}

long LogValue(const std::string& line, const char* name)
{
    std::string key = std::string(" ") + name + "=";
    size_t at = line.find(key);
    if (at == std::string::npos)
        return -1;
    return static_cast<long>(strtoul(line.c_str() + at + key.size(), nullptr, 0));
}
