#include "PlayerHarness.h"

#include <stdlib.h>

#include <algorithm>

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
    app.ExitInstance(0);
    app.window.Destroy();
    DrainMessages();
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
        tracks.push_back(static_cast<int>(std::max(0L, LogValue(line, "from")) & 0xFF));
    return tracks;
}

std::string MenuText(HMENU menu, UINT item, UINT flag)
{
    char text[512] = "";
    GetMenuStringA(menu, item, text, sizeof text, flag);
    return text;
}

MENUITEMINFOA MenuItem(HMENU menu, UINT item, bool byPosition)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS | MIIM_STATE | MIIM_TYPE | MIIM_ID;
    GetMenuItemInfoA(menu, item, byPosition, &info);
    return info;
}

std::string MenuOutline(HMENU menu)
{
    std::string outline;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT type = MenuItem(menu, i, true).fType;
        outline += (i ? ";" : "") + std::string(type & MFT_MENUBARBREAK ? "*" : "") +
                   (type & MFT_SEPARATOR ? "-" : MenuText(menu, i));
    }
    return outline;
}

long LogValue(const std::string& line, const char* name)
{
    std::string key = std::string(" ") + name + "=";
    size_t at = line.find(key);
    return at == std::string::npos ? -1 : static_cast<long>(strtoul(line.c_str() + at + key.size(), nullptr, 0));
}
