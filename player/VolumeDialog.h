#pragma once

#include "Dialog.h"

#include <stddef.h>

// The CD volume dialog: a vertical slider for the CD audio line's volume,
// loud at the top. Every slider move is applied at once to both channels.
class VolumeDialog : public Dialog {
public:
    VolumeDialog();
    ~VolumeDialog() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The auxiliary-audio volume of device 0: left channel in the low word,
    // right channel in the high word. Tests watch these.
    virtual DWORD ReadVolume();
    virtual void WriteVolume(DWORD volume);

    Window slider;

private:
    BOOL OnInitDialog();
    void OnSliderMoved();
    void ShowVolume(WORD volume);
    void PlaceAtPointer();
};

// The trackbar class lives in the common controls; it has to be loaded
// before a template that names it can be created.
bool LoadTrackbarClass();

// "%d%%" of volume * 100 / 65535, truncated: 65535 -> 100%, 32767 -> 49%.
int VolumePercent(WORD volume);
void FormatVolumeLabel(WORD volume, char* text, size_t capacity);

// Both channels at the same volume.
inline DWORD BothChannels(WORD volume)
{
    return (static_cast<DWORD>(volume) << 16) + volume;
}

// The window moved so its top-left corner is at the pointer, then pushed
// back left and up as far as needed to end inside the work area's right and
// bottom edges. The left and top edges are left alone.
RECT PlaceRectAtPointer(const RECT& window, POINT pointer, const RECT& workArea);
