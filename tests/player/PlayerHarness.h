#pragma once

#include "PlayerApplication.h"
#include "TestSupport.h"
#include "Text.h"
#include "VirtualCd.h"
#include "resource.h"

#include <dbt.h>
#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// The 32-bit value after "name=" in a log line, or -1.
inline long LogValue(const std::string& line, const char* name)
{
    std::string key = std::string(" ") + name + "=";
    size_t at = line.find(key);
    return at == std::string::npos ? -1 : static_cast<long>(strtoul(line.c_str() + at + key.size(), nullptr, 0));
}

inline std::string ItemText(HWND dialog, int id)
{
    char text[4096] = "";
    return GetDlgItemTextA(dialog, id, text, sizeof text), text;
}
inline std::string MenuText(HMENU menu, UINT item, UINT flag = MF_BYPOSITION)
{
    char text[512] = "";
    return GetMenuStringA(menu, item, text, sizeof text, flag), text;
}
inline MENUITEMINFOA MenuItem(HMENU menu, UINT item, bool byPosition = false)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS | MIIM_STATE | MIIM_TYPE | MIIM_ID;
    GetMenuItemInfoA(menu, item, byPosition, &info);
    return info;
}
// The texts of a menu in order joined by ";", "-" for a separator, "*"
// before the item that opens a new column (marks below 0x40, which no
// Shift_JIS character holds as its second byte).
inline std::string MenuOutline(HMENU menu)
{
    std::string outline;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT type = MenuItem(menu, i, true).fType;
        outline += (i ? ";" : "") + std::string(type & MFT_MENUBARBREAK ? "*" : "") +
                   (type & MFT_SEPARATOR ? "-" : MenuText(menu, i));
    }
    return outline;
}

// A player inside the test program: its window, menu, bitmaps and CD device
// on the virtual drive, without tray icon, mutex or hot-keys. The settings
// are the defaults of a missing settings file until a test changes them.
struct PlayerHarness {
    PlayerHarness()
    {
        app.instance = GetModuleHandleA(nullptr);
        app.SetNames(PlayerTitle, PlayerVersion);
        app.settingsFile.SetPath(folder.File("velkin.ini").c_str());
        app.DiscDatabase.SetPaths(folder.File("cdplayer.ini").c_str(), folder.File("windows-cdplayer.ini").c_str());
        LoadSettings(app.settingsFile, app.settings);
        app.settings.SoundOnInsert = 0;
    }
    // Started with this disc in E: and the drive at this speed: the window
    // made, the menu loaded and the device opened, as start-up does.
    PlayerHarness(const std::string& discInE, int speed) : PlayerHarness()
    {
        cd.SetSpeed(speed);
        cd.InsertDisc('E', discInE);
        app.CreatePlayerWindow(), app.LoadPopupMenu(), app.OpenCdDevice();
    }
    ~PlayerHarness() { app.cdDevice.Stop(), app.ExitInstance(0), app.window.Destroy(), DrainMessages(); }
    // The track of each play's "from" (0 for a play that resumes).
    std::vector<int> PlayedTracks() const
    {
        std::vector<int> tracks;
        for (const std::string& line : cd.LogLines(" PLAY "))
            tracks.push_back(static_cast<int>(std::max(0L, LogValue(line, "from")) & 0xFF));
        return tracks;
    }
    // The track menu as it opens now.
    std::string TrackMenu()
    {
        HMENU tracks = app.trayMenus.TrackMenu();
        app.trayMenus.BuildTrackMenu(tracks);
        return MenuOutline(tracks);
    }
    // A volume arriving or going, as the system tells the window.
    void VolumeEvent(WPARAM event, char letter)
    {
        DEV_BROADCAST_VOLUME volume = {sizeof volume, DBT_DEVTYP_VOLUME, 0, 1u << (letter - 'A'), DBTF_MEDIA};
        SendMessageA(app.window.hwnd, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
    }
    // Each track start sent to a loopback port, with this script.
    void SendSstpTo(int port, const char* script)
    {
        app.settings.SendSstpMsg = 1;
        app.settings.CheckSstpServer = 0;
        CopyText(app.settings.SstpServer, sizeof app.settings.SstpServer, "127.0.0.1");
        app.settings.SstpPort = static_cast<unsigned short>(port);
        CopyText(app.settings.SstpScript, sizeof app.settings.SstpScript, script);
    }
    // A key pressed in a control, taking the way of the player's message loop.
    void Press(HWND control, WPARAM key)
    {
        SetFocus(control);
        PostMessageA(control, WM_KEYDOWN, key, 0);
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
            if (!app.PreTranslateMessage(&message))
                TranslateMessage(&message), DispatchMessageA(&message);
        }
    }

    VirtualCd cd;
    TempFolder folder;
    PlayerApplication app;
};

// The next dialog of this caption, answered from a thread timer, which the
// dialog's own modal loop runs.
struct DialogAnswer {
    static void Next(const char* caption, std::function<void(HWND)> answer)
    {
        DialogAnswer::caption = caption;
        DialogAnswer::answer = std::move(answer);
        SetTimer(nullptr, 0, 50, Tick);
    }
    // The player's next message box: its text kept, then the button pressed.
    static void PlayerBox(std::string& text, int button = IDOK)
    {
        text.clear();
        Next(PlayerTitle, [&text, button](HWND box) {
            text = ItemText(box, 0xFFFF);
            PostMessageA(box, WM_COMMAND, button, 0);
        });
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD)
    {
        if (HWND dialog = FindWindowA("#32770", caption.c_str())) {
            KillTimer(nullptr, timer);
            answer(dialog);
        }
    }
    static inline std::string caption;
    static inline std::function<void(HWND)> answer;
};
