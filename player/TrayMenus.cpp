#include "TrayMenus.h"

#include "CdDrives.h"
#include "DiscDatabase.h"
#include "DisplayScale.h"
#include "PlayerApplication.h"
#include "Text.h"
#include "TimeText.h"
#include "resource.h"

namespace {

const char NoTime[] = "----／----";
const char DeviceBusy[] = "×デバイスは使用中です";
const char InsertDisc[] = "◎CDをセットしてください";
const char Stopped[] = "■停止しています";
const char NotAudioDisc[] = "◆音楽CDではありません";
const char Paused[] = "▽一時停止中です";
const char Playing[] = "▼トラック %dを再生中です";
const char Recording[] = "◇録音中です";
const char Seeking[] = "◇シーク中です";
const char Busy[] = "◇処理中です";
const char PlayText[] = "再生(&P)";
const char PauseText[] = "一時停止(&P)";
const char DefaultDriveText[] = "デフォルト(&/)";

const DWORD TrackMenuDelayMs = 30;
const DWORD PlayingTrackDelayMs = 50;
const int LineCapacity = 256;
const int TrackLabelCapacity = 128;
const int DriveLabelCapacity = 40;  // "&E:  (" and a volume name of 15 with every "&" doubled
const int DriveMenuItems = 27;  // the default entry and up to 26 letters

// The order in which the bitmaps are loaded and freed: eight state images,
// then the item images.
const int BitmapIds[MenuBitmapCount] = {
    IDB_TRACKCHECK, IDB_PAUSE, IDB_REPEATALL, IDB_REPEATONE, IDB_RANDOM,  IDB_INTRO,       IDB_DRIVECHECK,
    IDB_DRIVE,      IDB_PLAY,  IDB_STOP,      IDB_BACK,      IDB_NEXT,    IDB_EJECT,       IDB_EXIT,
    IDB_ABOUT,      IDB_CONFIG, IDB_CDINFO,   IDB_CDVOLUME,  IDB_VOLUMECONTROL, IDB_MMPROPERTIES,
    IDB_EDITTITLES,
};
const int FirstItemImage = 8;
// The scales that the image sets are drawn for, at 0, 1, 2 and 3 times
// IDB_SCALESTEP above the ids.
const UINT ImageSetDpi[] = {96, 120, 144, 192};
const int ImageSetCount = sizeof ImageSetDpi / sizeof ImageSetDpi[0];
const UINT ItemImageCommands[MenuBitmapCount - FirstItemImage] = {
    IDM_PLAY, IDM_STOP, IDM_BACK, IDM_NEXT, IDM_EJECT, IDM_EXIT,
    IDM_ABOUT, IDM_CONFIG, IDM_CDINFO, IDM_CDVOLUME, IDM_VOLUMECONTROL, IDM_MMPROPERTIES,
    IDM_EDITTITLES,
};
const struct {
    UINT command;
    int bitmapId;
} ModeImages[4] = {
    {IDM_REPEATALL, IDB_REPEATALL},
    {IDM_REPEATONE, IDB_REPEATONE},
    {IDM_RANDOM, IDB_RANDOM},
    {IDM_INTRO, IDB_INTRO},
};

// The items that the main menu enables or grays by the device state.
enum Controlled {
    PlayItem, StopItem, BackItem, NextItem, TrackSubmenu, EjectItem, LoadItem, InfoItem, TitlesItem, ControlledCount
};
const UINT ControlledCommands[ControlledCount] = {IDM_PLAY, IDM_STOP,  IDM_BACK, IDM_NEXT,      0,
                                                  IDM_EJECT, IDM_LOAD, IDM_CDINFO, IDM_EDITTITLES};

void SetItemTextAndImage(HMENU menu, UINT command, const char* text, HBITMAP image)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | MIIM_CHECKMARKS;
    info.fType = MFT_STRING;
    info.dwTypeData = const_cast<char*>(text);
    info.hbmpUnchecked = image;
    SetMenuItemInfoA(menu, command, FALSE, &info);
}

void AppendLine(HMENU menu, UINT flags, const char* text)
{
    AppendMenuA(menu, MF_STRING | flags, 0, text);
}

// A text from the disc database shown as written, an "&" in it too.
void AppendTitleLine(HMENU menu, UINT flags, const char* text)
{
    char shown[2 * LineCapacity] = "";
    AppendMenuText(shown, sizeof shown, text);
    AppendLine(menu, flags, shown);
}

}  // namespace

void FormatTrackLabel(int track, const char* name, char* label, size_t capacity)
{
    if (track < 10)
        FormatText(label, capacity, " &%d ", track);
    else
        FormatText(label, capacity, "%d&%d ", track / 10, track % 10);
    AppendMenuText(label, capacity, name);
}

TrayMenus::TrayMenus(PlayerApplication& owner) : app(owner), imageSet(-1) {}

HMENU TrayMenus::MainMenu() const
{
    return GetSubMenu(app.popupMenu, 0);
}

HMENU TrayMenus::TrackMenu() const
{
    return GetSubMenu(MainMenu(), TrackMenuPosition);
}

HMENU TrayMenus::DriveMenu() const
{
    return GetSubMenu(GetSubMenu(MainMenu(), OtherMenuPosition), DriveMenuPosition);
}

HMENU TrayMenus::ModeMenu() const
{
    return GetSubMenu(GetSubMenu(MainMenu(), OtherMenuPosition), ModeMenuPosition);
}

HBITMAP TrayMenus::Bitmap(int bitmapId) const
{
    for (int i = 0; i < MenuBitmapCount; ++i) {
        if (BitmapIds[i] == bitmapId)
            return app.menuBitmaps[i];
    }
    return nullptr;
}

LRESULT TrayMenus::OnTrayNotify(LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN)
        ShowMainMenu();
    else if (mouseMessage == WM_RBUTTONDOWN)
        ShowTrackMenu();
    return 0;
}

LRESULT TrayMenus::OnInitMenuPopup(HMENU menu)
{
    if (!menu)
        return 0;
    if (menu == TrackMenu())
        BuildTrackMenu(menu);
    else if (menu == DriveMenu())
        BuildDriveMenu(menu);
    return 0;
}

void TrayMenus::ShowMainMenu()
{
    FitImagesToPointer();
    PrepareMainMenu();
    ShowMenu(MainMenu());
}

void TrayMenus::ShowTrackMenu()
{
    FitImagesToPointer();
    ShowMenu(TrackMenu());
}

void TrayMenus::ShowDriveMenu()
{
    FitImagesToPointer();
    ShowMenu(DriveMenu());
}

void TrayMenus::ShowModeMenu()
{
    FitImagesToPointer();
    ShowMenu(ModeMenu());
}

void TrayMenus::ShowMenu(HMENU menu)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    app.window.SetForegroundWindow();
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, app.window.hwnd, nullptr);
    app.window.PostMessage(WM_NULL, 0, 0);
}

void TrayMenus::FitImagesToPointer()
{
    POINT pointer = {};
    GetCursorPos(&pointer);
    UseImagesFor(DisplayScale::AtPoint(pointer));
}

void TrayMenus::PrepareMainMenu()
{
    HMENU menu = MainMenu();
    CdAudioDevice& device = app.cdDevice;
    bool enabled[ControlledCount];
    for (bool& item : enabled)
        item = true;
    bool clearPause = true;
    char status[LineCapacity] = "";
    char time[LineCapacity];
    CopyText(time, sizeof time, NoTime);

    int mode = device.GetMode();
    if (mode == CdModeUnknown) {
        CopyText(status, sizeof status, DeviceBusy);
        for (bool& item : enabled)
            item = false;
    } else {
        FormatTrackTime(device, time, sizeof time);
    }
    SetItemTextAndImage(menu, IDM_PLAY, PlayText, Bitmap(IDB_PLAY));

    switch (mode) {
    case CdModeUnknown:
        break;
    case CdModeNotReady:
    case CdModeDoorOpen:
        CopyText(status, sizeof status, InsertDisc);
        CopyText(time, sizeof time, NoTime);
        enabled[PlayItem] = enabled[StopItem] = enabled[BackItem] = enabled[NextItem] = false;
        enabled[TrackSubmenu] = enabled[InfoItem] = false;
        break;
    case CdModeStopped:
        CopyText(status, sizeof status, Stopped);
        enabled[StopItem] = enabled[LoadItem] = enabled[BackItem] = enabled[NextItem] = false;
        if (!device.IsAudioDisc()) {
            CopyText(status, sizeof status, NotAudioDisc);
            enabled[PlayItem] = enabled[TrackSubmenu] = false;
        }
        if (app.paused) {
            CopyText(status, sizeof status, Paused);
            enabled[StopItem] = true;
            clearPause = false;
        } else {
            CopyText(time, sizeof time, NoTime);
        }
        break;
    case CdModePlaying:
        FormatText(status, sizeof status, Playing, device.GetCurrentTrack());
        enabled[LoadItem] = false;
        SetItemTextAndImage(menu, IDM_PLAY, PauseText, Bitmap(IDB_PAUSE));
        break;
    case CdModeRecording:
        CopyText(status, sizeof status, Recording);
        break;
    case CdModeSeeking:
        CopyText(status, sizeof status, Seeking);
        break;
    case CdModePaused:
        CopyText(status, sizeof status, Paused);
        break;
    default:
        CopyText(status, sizeof status, Busy);
        break;
    }

    // Titles are for an audio disc, as the track menu is.
    enabled[TitlesItem] = enabled[TrackSubmenu];
    BuildDriveMenu(DriveMenu());
    for (int i = 0; i < ControlledCount; ++i) {
        UINT state = enabled[i] ? MF_ENABLED : MF_GRAYED;
        if (i == TrackSubmenu)
            EnableMenuItem(menu, TrackMenuPosition, MF_BYPOSITION | state);
        else
            EnableMenuItem(menu, ControlledCommands[i], MF_BYCOMMAND | state);
    }
    SetStatusLines(status, time);
    if (clearPause)
        app.paused = FALSE;
}

void TrayMenus::SetStatusLines(const char* status, const char* time)
{
    HMENU menu = MainMenu();
    DeleteMenu(menu, 0, MF_BYPOSITION);
    DeleteMenu(menu, 0, MF_BYPOSITION);
    const UINT flags = MF_BYPOSITION | MF_STRING | MF_DISABLED | MF_HILITE;
    InsertMenuA(menu, 0, flags, IDM_TIME, time);
    InsertMenuA(menu, 0, flags, IDM_STATUS, status);
}

void TrayMenus::BuildTrackMenu(HMENU menu)
{
    while (GetMenuItemCount(menu) > 0)
        DeleteMenu(menu, 0, MF_BYPOSITION);

    CdAudioDevice& device = app.cdDevice;
    int mode = device.GetMode();
    if (mode == CdModeUnknown) {
        AppendLine(menu, MF_DISABLED, DeviceBusy);
        return;
    }
    if (mode == CdModeNotReady || mode == CdModeDoorOpen) {
        AppendLine(menu, MF_DISABLED, InsertDisc);
        return;
    }
    if (mode == CdModeStopped && !device.IsAudioDisc()) {
        AppendLine(menu, MF_DISABLED, NotAudioDisc);
        return;
    }

    char discId[16];
    device.GetDiscId(discId, sizeof discId);
    char text[LineCapacity];
    GetDiscTitle(app.DiscDatabase, discId, text, sizeof text);
    AppendTitleLine(menu, MF_DISABLED | MF_HILITE, text);
    GetDiscArtist(app.DiscDatabase, discId, text, sizeof text);
    AppendTitleLine(menu, MF_DISABLED | MF_HILITE, text);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);

    int count = device.GetTrackCount();
    int split = (count + 1) / 2;
    for (int track = 1; track <= count; ++track) {
        char name[LineCapacity];
        GetTrackName(app.DiscDatabase, discId, track, name, sizeof name);
        char label[TrackLabelCapacity];
        FormatTrackLabel(track, name, label, sizeof label);
        AppendMenuA(menu, MF_STRING, IDM_TRACKBASE + track, label);
        if (count >= 20 && track == split) {
            AppendLine(menu, MF_MENUBARBREAK | MF_DISABLED | MF_HILITE, "");
            AppendLine(menu, MF_DISABLED | MF_HILITE, "");
            AppendMenuA(menu, MF_SEPARATOR | MF_DISABLED, 0, nullptr);
        }
    }

    Sleep(TrackMenuDelayMs);
    if (mode == CdModePlaying) {
        Sleep(PlayingTrackDelayMs);
        UINT playing = IDM_TRACKBASE + device.GetCurrentTrack();
        SetMenuItemBitmaps(menu, playing, MF_BYCOMMAND, nullptr, Bitmap(IDB_TRACKCHECK));
        CheckMenuItem(menu, playing, MF_BYCOMMAND | MF_CHECKED);
    }
}

void TrayMenus::BuildDriveMenu(HMENU menu)
{
    for (int i = 0; i < DriveMenuItems; ++i)
        DeleteMenu(menu, 0, MF_BYPOSITION);

    HBITMAP unchosen = Bitmap(IDB_DRIVE);
    HBITMAP chosen = Bitmap(IDB_DRIVECHECK);
    AppendMenuA(menu, MF_STRING, IDM_DEFAULTDRIVE, DefaultDriveText);
    SetMenuItemBitmaps(menu, IDM_DEFAULTDRIVE, MF_BYCOMMAND, unchosen, chosen);
    if (app.settings.Drive == -1)
        CheckMenuItem(menu, IDM_DEFAULTDRIVE, MF_BYCOMMAND | MF_CHECKED);

    for (int drive = FindCdDrive(1); drive >= 0; drive = FindCdDrive(drive + 1)) {
        char label[DriveLabelCapacity];
        FormatDriveText(drive, label, sizeof label);
        UINT command = IDM_DRIVEBASE + drive;
        AppendMenuA(menu, MF_STRING, command, label);
        SetMenuItemBitmaps(menu, command, MF_BYCOMMAND, unchosen, chosen);
        if (app.settings.Drive == drive)
            CheckMenuItem(menu, command, MF_BYCOMMAND | MF_CHECKED);
        if (drive >= 25)
            break;
    }
}

void TrayMenus::LoadMenuBitmaps()
{
    FreeMenuBitmaps();
    UseImagesFor(DisplayScale::OfWindow(app.window.hwnd));
}

void TrayMenus::UseImagesFor(UINT dpi)
{
    int set = 0;
    while (set + 1 < ImageSetCount && dpi >= ImageSetDpi[set + 1])
        ++set;
    if (set == imageSet)
        return;
    // The item and mode images are attached before the old ones go; the
    // track and drive items get theirs as those menus are built to open.
    HBITMAP replaced[MenuBitmapCount];
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < MenuBitmapCount; ++i) {
        replaced[i] = app.menuBitmaps[i];
        app.menuBitmaps[i] = LoadBitmapA(instance, MAKEINTRESOURCEA(BitmapIds[i] + set * IDB_SCALESTEP));
    }
    for (int i = 0; i < MenuBitmapCount - FirstItemImage; ++i)
        SetMenuItemBitmaps(app.popupMenu, ItemImageCommands[i], MF_BYCOMMAND, app.menuBitmaps[FirstItemImage + i],
                           nullptr);
    for (const auto& mode : ModeImages)
        SetMenuItemBitmaps(app.popupMenu, mode.command, MF_BYCOMMAND, nullptr, Bitmap(mode.bitmapId));
    for (HBITMAP bitmap : replaced) {
        if (bitmap)
            DeleteObject(bitmap);
    }
    imageSet = set;
}

void TrayMenus::FreeMenuBitmaps()
{
    for (HBITMAP& bitmap : app.menuBitmaps) {
        if (bitmap)
            DeleteObject(bitmap);
        bitmap = nullptr;
    }
    imageSet = -1;
}
