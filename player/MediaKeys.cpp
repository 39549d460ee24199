#include "MediaKeys.h"

#include "CommandTable.h"
#include "PlayerApplication.h"

const MediaKey MediaKeyTable[MediaKeyCount] = {
    {VK_MEDIA_PLAY_PAUSE, CommandPlay, "再生/一時停止"},
    {VK_MEDIA_STOP, CommandStop, "停止"},
    {VK_MEDIA_NEXT_TRACK, CommandNext, "次のトラック"},
    {VK_MEDIA_PREV_TRACK, CommandBack, "前のトラック"},
};

const char MediaKeyName[] = "メディアキー";

MediaKeys::MediaKeys(PlayerApplication& owner) : app(owner), playing(false), registered(false), named(0) {}

void MediaKeys::Hold()
{
    playing = true;
    Refresh();
}

void MediaKeys::Release()
{
    playing = false;
    Refresh();
}

void MediaKeys::Refresh()
{
    bool wanted = playing && app.settings.MediaKeys && app.window.hwnd;
    if (wanted && !registered)
        Register();
    else if (!wanted && registered)
        Unregister();
}

void MediaKeys::Register()
{
    registered = true;
    unsigned failed = 0;
    bool allTaken = true;
    for (int i = 0; i < MediaKeyCount; ++i) {
        UINT keyCode = MediaKeyTable[i].keyCode;
        // A shortcut key set to the bare media key already acts for its command.
        if (RegisterHotKey(app.window.hwnd, MediaKeyIdBase + i, 0, keyCode) || IsOwnHotKey(keyCode))
            continue;
        failed |= 1u << i;
        allTaken = allTaken && GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
    }
    // Each key is named once in a run: it is taken again at every play.
    unsigned fresh = failed & ~named;
    named |= failed;
    if (fresh)
        app.hotKeyReport.Report(fresh << CommandCount, allTaken);
}

void MediaKeys::Unregister()
{
    registered = false;
    for (int i = 0; i < MediaKeyCount; ++i)
        UnregisterHotKey(app.window.hwnd, MediaKeyIdBase + i);
}

bool MediaKeys::IsOwnHotKey(UINT keyCode) const
{
    for (int value : app.settings.hotKeys)
        if (value == MakeHotKeyValue(0, keyCode))
            return true;
    return false;
}

WPARAM MediaKeys::CommandOfHotKey(WPARAM id) const
{
    if (id >= static_cast<WPARAM>(MediaKeyIdBase) && id < static_cast<WPARAM>(MediaKeyIdBase + MediaKeyCount))
        return static_cast<WPARAM>(MediaKeyTable[id - MediaKeyIdBase].command);
    return id;
}

bool MediaKeys::OnAppCommand(LPARAM lParam)
{
    switch (GET_APPCOMMAND_LPARAM(lParam)) {
    case APPCOMMAND_MEDIA_PLAY_PAUSE:
        app.hotKeys.OnHotKey(CommandPlay);
        return true;
    // Play never pauses, and pause never starts a play.
    case APPCOMMAND_MEDIA_PLAY:
        if (app.cdDevice.GetMode() != CdModePlaying)
            app.hotKeys.OnHotKey(CommandPlay);
        return true;
    case APPCOMMAND_MEDIA_PAUSE:
        if (app.cdDevice.GetMode() == CdModePlaying)
            app.hotKeys.OnHotKey(CommandPlay);
        return true;
    case APPCOMMAND_MEDIA_STOP:
        app.hotKeys.OnHotKey(CommandStop);
        return true;
    case APPCOMMAND_MEDIA_NEXTTRACK:
        app.hotKeys.OnHotKey(CommandNext);
        return true;
    case APPCOMMAND_MEDIA_PREVIOUSTRACK:
        app.hotKeys.OnHotKey(CommandBack);
        return true;
    }
    return false;
}
