#include "TimeText.h"

#include "CdAudioDevice.h"
#include "Text.h"

void FormatMinSec(int minutes, int seconds, char* text, size_t capacity)
{
    char buffer[16];
    int total = minutes * 60 + seconds;
    if (total / 3600 <= 0)
        FormatText(buffer, sizeof buffer, "%d:%02d", minutes, seconds);
    else
        FormatText(buffer, sizeof buffer, "%d:%02d:%02d", total / 3600, total / 60 % 60, seconds % 60);
    CopyText(text, capacity, buffer);
}

void FormatMsf(DWORD msf, char* text, size_t capacity)
{
    char buffer[16];
    int total = MsfMinutes(msf) * 60 + MsfSeconds(msf);
    if (total / 3600 == 0)
        FormatText(buffer, sizeof buffer, "%d:%02d", total / 60 % 60, total % 60);
    else
        FormatText(buffer, sizeof buffer, "%d:%02d:%02d", total / 3600, total / 60 % 60, total % 60);
    CopyText(text, capacity, buffer);
}

// A part the device cannot tell is shown as "----", as the menu shows an
// unknown time, rather than as a made-up number.
void FormatTrackTime(CdAudioDevice& device, char* text, size_t capacity)
{
    int elapsed = device.GetTrackElapsedSeconds();
    long length = device.GetTrackLength(device.GetCurrentTrack());
    char elapsedText[128];
    char lengthText[32];
    if (elapsed >= 0)
        FormatMinSec(elapsed / 60, elapsed % 60, elapsedText, sizeof elapsedText);
    else
        CopyText(elapsedText, sizeof elapsedText, "----");
    if (length >= 0)
        FormatMsf(static_cast<DWORD>(length), lengthText, sizeof lengthText);
    else
        CopyText(lengthText, sizeof lengthText, "----");
    char joined[192];
    FormatText(joined, sizeof joined, "%s／%s", elapsedText, lengthText);
    CopyText(text, capacity, joined);
}
