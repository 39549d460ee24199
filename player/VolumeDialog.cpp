#include "VolumeDialog.h"

#include "CommonControls.h"
#include "Text.h"
#include "resource.h"

#include <commctrl.h>
#include <mmsystem.h>

static const UINT AuxDevice = 0;
static const WORD FullVolume = 65535;

VolumeDialog::VolumeDialog() {}

VolumeDialog::~VolumeDialog() {}

// The common controls are loaded when the dialog first opens, not at start-up.
bool LoadTrackbarClass()
{
    return LoadCommonControls(ICC_BAR_CLASSES);
}

int VolumePercent(WORD volume)
{
    // In floating point, as the slider's scale is not a multiple of 100.
    return static_cast<int>(volume * 100.0 / FullVolume);
}

void FormatVolumeLabel(WORD volume, char* text, size_t capacity)
{
    FormatText(text, capacity, "%d%%", VolumePercent(volume));
}

RECT PlaceRectAtPointer(const RECT& window, POINT pointer, const RECT& workArea)
{
    RECT placed = window;
    OffsetRect(&placed, pointer.x, pointer.y);
    if (placed.right > workArea.right)
        OffsetRect(&placed, workArea.right - placed.right, 0);
    if (placed.bottom > workArea.bottom)
        OffsetRect(&placed, 0, workArea.bottom - placed.bottom);
    return placed;
}

DWORD VolumeDialog::ReadVolume()
{
    DWORD volume = 0;  // a missing device shows as silent
    auxGetVolume(AuxDevice, &volume);
    return volume;
}

void VolumeDialog::WriteVolume(DWORD volume)
{
    auxSetVolume(AuxDevice, volume);
}

LRESULT VolumeDialog::WindowProc(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_VSCROLL:
        OnSliderMoved();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            Destroy();
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        Destroy();
        return TRUE;
    }
    return FALSE;
}

BOOL VolumeDialog::OnInitDialog()
{
    slider.Attach(GetDlgItem(IDC_VOLUMESLIDER));
    slider.SendMessage(TBM_SETRANGEMIN, TRUE, 0);
    slider.SendMessage(TBM_SETRANGEMAX, TRUE, FullVolume);
    slider.SendMessage(TBM_SETTICFREQ, 0x2AAA, 0);
    slider.SendMessage(TBM_SETLINESIZE, 0, 0x28F);
    slider.SendMessage(TBM_SETPAGESIZE, 0, 0x199A);

    PlaceAtPointer();

    WORD volume = LOWORD(ReadVolume());
    slider.SendMessage(TBM_SETPOS, TRUE, FullVolume - volume);
    ShowVolume(volume);
    ShowWindow(SW_SHOW);
    return TRUE;
}

void VolumeDialog::OnSliderMoved()
{
    LRESULT position = slider.SendMessage(TBM_GETPOS, 0, 0);
    WORD volume = static_cast<WORD>(FullVolume - position);
    ShowVolume(volume);
    WriteVolume(BothChannels(volume));
}

void VolumeDialog::ShowVolume(WORD volume)
{
    char label[16];
    FormatVolumeLabel(volume, label, sizeof label);
    SetDlgItemText(IDC_VOLUMELABEL, label);
}

void VolumeDialog::PlaceAtPointer()
{
    POINT pointer = {};
    GetCursorPos(&pointer);
    RECT window = {};
    GetWindowRect(&window);
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    MoveWindow(PlaceRectAtPointer(window, pointer, workArea), TRUE);
}
