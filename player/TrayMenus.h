#pragma once

#include <windows.h>
#include <stddef.h>

class PlayerApplication;

// Positions inside the main popup menu.
const int TrackMenuPosition = 8;
const int OtherMenuPosition = 13;
const int DriveMenuPosition = 0;  // inside "その他(&O)"
const int ModeMenuPosition = 1;   // inside "その他(&O)"

// The popup menus of the tray icon: the status lines, the track and drive
// submenus and the menu images. Building a menu and showing it are separate
// steps, so the filled menus can be read without opening them.
class TrayMenus {
public:
    explicit TrayMenus(PlayerApplication& owner);

    LRESULT OnTrayNotify(LPARAM mouseMessage);
    LRESULT OnInitMenuPopup(HMENU menu);

    void ShowMainMenu();
    void ShowTrackMenu();
    void ShowDriveMenu();
    void ShowModeMenu();

    // Fills the main menu as ShowMainMenu shows it.
    void PrepareMainMenu();
    void BuildTrackMenu(HMENU menu);
    void BuildDriveMenu(HMENU menu);

    // The images for the window's display scale, attached to the menu.
    void LoadMenuBitmaps();
    void FreeMenuBitmaps();
    // The images drawn for this scale (the next smaller set between two),
    // loaded in place of those attached when they differ.
    void UseImagesFor(UINT dpi);

    HMENU MainMenu() const;
    HMENU TrackMenu() const;
    HMENU DriveMenu() const;
    HMENU ModeMenu() const;
    HBITMAP Bitmap(int bitmapId) const;

private:
    void ShowMenu(HMENU menu);
    // A menu opens on the monitor under the pointer, at that one's scale.
    void FitImagesToPointer();
    void SetStatusLines(const char* status, const char* time);

    PlayerApplication& app;
    int imageSet;  // of ImageSetDpi, or -1 when none is loaded
};

// The track menu's label: " &5 name" below 10, "1&2 name" from 10 on, cut to
// capacity without splitting a double-byte character. An "&" in the name is
// doubled, so the name shows as written and the digit stays the mnemonic.
void FormatTrackLabel(int track, const char* name, char* label, size_t capacity);
