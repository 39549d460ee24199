#pragma once

#include <windows.h>

class PlayerApplication;

// The keyboard's Play/Pause, Stop, Next and Previous keys, acting as the
// commands Play, Stop, Next and Back. They are held only while a disc plays
// or is paused: an idle player leaves them to the browser or another player.
struct MediaKey {
    UINT keyCode;       // VK_MEDIA_*
    int command;        // CommandIndex
    const char* label;  // how the balloon of taken keys names it
};

const int MediaKeyCount = 4;
extern const MediaKey MediaKeyTable[MediaKeyCount];
// Hot-key ids of the media keys, beside the fifteen commands' 0 to 14.
const int MediaKeyIdBase = 0x100;
extern const char MediaKeyName[];  // "メディアキー"

class MediaKeys {
public:
    explicit MediaKeys(PlayerApplication& owner);

    // A disc started to play (or resumed): the keys are taken when the
    // settings allow. A key that another program holds stays that program's;
    // it is named in the balloon the first time in a run.
    void Hold();
    // Playback stopped: the keys go back.
    void Release();
    // The settings were read again: the keys follow MediaKeys at once.
    void Refresh();

    // The command index of a WM_HOTKEY id: a media key's command, any other
    // id unchanged.
    WPARAM CommandOfHotKey(WPARAM id) const;
    // WM_APPCOMMAND: true when it was a media command, now carried out.
    bool OnAppCommand(LPARAM lParam);

private:
    void Register();
    void Unregister();
    bool IsOwnHotKey(UINT keyCode) const;

    PlayerApplication& app;
    bool playing;      // a disc plays or is paused
    bool registered;   // the keys that could be had are registered
    unsigned named;    // bit i: media key i was named in a balloon this run
};
