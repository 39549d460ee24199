#include "CdInfoMenu.h"

#include "CdAudioDevice.h"
#include "Text.h"
#include "TimeText.h"

// Lines are drawn in the normal colour but cannot be chosen.
static void AppendLine(HMENU menu, const char* text, UINT extraFlags = 0)
{
    AppendMenuA(menu, MF_STRING | MF_DISABLED | extraFlags, 0, text);
}

// A length the device cannot tell (-1) shows as the tray menu shows an
// unknown time, not as the made-up time its bytes would give.
static void FormatLength(long msf, char* text, size_t capacity)
{
    if (msf < 0)
        CopyText(text, capacity, "----");
    else
        FormatMsf(static_cast<DWORD>(msf), text, capacity);
}

static void AppendBlank(HMENU menu, UINT extraFlags = 0)
{
    AppendLine(menu, "", extraFlags);
}

static void AppendDiscLines(HMENU menu, CdAudioDevice& device, int trackCount)
{
    char text[256];
    char discId[256];
    device.GetDiscId(discId, sizeof discId);
    FormatText(text, sizeof text, "ID: %s", discId);
    AppendLine(menu, text);

    // Every digit: a UPC has twelve or thirteen, more than any integer holds.
    char upc[32];
    if (device.GetUpcText(upc, sizeof upc))
        FormatText(text, sizeof text, "UPC: %s", upc);
    else
        CopyText(text, sizeof text, "UPC: （なし）");
    AppendLine(menu, text);

    FormatText(text, sizeof text, "トラック数: %d", trackCount);
    AppendLine(menu, text);

    char length[16];
    FormatLength(device.GetDiscLength(), length, sizeof length);
    FormatText(text, sizeof text, "総演奏時間: %s", length);
    AppendLine(menu, text);

    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendLine(menu, "《各トラックの長さ》");
}

// Six rows beside the first column's information lines, separator and
// heading, so the second column's tracks line up with the first's.
static void AppendSecondColumnHead(HMENU menu)
{
    AppendBlank(menu, MF_MENUBARBREAK);
    AppendBlank(menu);
    AppendBlank(menu);
    AppendBlank(menu);
    AppendMenuA(menu, MF_SEPARATOR | MF_DISABLED, 0, nullptr);
    AppendBlank(menu);
}

static void AppendTrackLines(HMENU menu, CdAudioDevice& device, int trackCount)
{
    int split = trackCount >= 20 ? (trackCount + 1) / 2 : 0;
    for (int track = 1; track <= trackCount; ++track) {
        char length[16];
        FormatLength(device.GetTrackLength(track), length, sizeof length);
        char text[256];
        FormatText(text, sizeof text, "トラック%2d:  %s", track, length);
        AppendLine(menu, text);
        if (track == split)
            AppendSecondColumnHead(menu);
    }
}

HMENU BuildCdInfoMenu(CdAudioDevice& device)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    int trackCount = device.GetTrackCount();
    if (trackCount < 1) {
        // Without a readable disc every answer would be a failed query shown
        // as a number; say what the tray menu says instead.
        AppendLine(menu, device.GetMode() == -1 ? "×デバイスは使用中です" : "◎CDをセットしてください");
        return menu;
    }
    AppendDiscLines(menu, device, trackCount);
    AppendTrackLines(menu, device, trackCount);
    return menu;
}

void ShowPopupAtPointer(HMENU menu, HWND window)
{
    POINT pointer = {};
    GetCursorPos(&pointer);
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, pointer.x, pointer.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
}
