// The player at 100 %, 150 % and 200 %: icons and menu images drawn for the
// size they are shown at, laid out lists that fill their space.
#include "DisplayScale.h"
#include "PlayerHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// Width * 1000 + height.
int ImageSize(HBITMAP bitmap)
{
    BITMAP info = {};
    return GetObjectA(bitmap, sizeof info, &info) ? info.bmWidth * 1000 + info.bmHeight : 0;
}

// The size of each menu image when all have one, else 0.
int MenuImageSize(const PlayerApplication& app)
{
    for (HBITMAP bitmap : app.menuBitmaps) {
        if (ImageSize(bitmap) != ImageSize(app.menuBitmaps[0]))
            return 0;
    }
    return ImageSize(app.menuBitmaps[0]);
}

int ImageSizeAt(UINT dpi)
{
    int side = dpi >= 192 ? 23 : dpi >= 144 ? 17 : dpi >= 120 ? 13 : 11;
    return side * 1000 + side;
}

TEST(DisplayScale, EachMenuTakesTheImagesOfItsMonitorsScaleAndTheImagesItReplacesAreFreed)
{
    PlayerHarness player("3:00.00 4:00.00", 1);
    TrayMenus& menus = player.app.trayMenus;
    HBITMAP shown = menus.Bitmap(IDB_STOP);
    for (UINT dpi : {110u, 120u, 143u, 144u, 191u, 192u, 288u, 96u, 144u}) {
        menus.UseImagesFor(dpi);
        EXPECT_EQ(ImageSizeAt(dpi), MenuImageSize(player.app)) << dpi;
        EXPECT_EQ(menus.Bitmap(IDB_STOP), MenuItem(menus.MainMenu(), IDM_STOP).hbmpUnchecked) << dpi;
        EXPECT_EQ(menus.Bitmap(IDB_RANDOM), MenuItem(menus.ModeMenu(), IDM_RANDOM).hbmpChecked) << dpi;
        if (menus.Bitmap(IDB_STOP) != shown) {
            EXPECT_EQ(0u, GetObjectType(shown)) << "the set replaced at " << dpi << " is deleted";
        }
        shown = menus.Bitmap(IDB_STOP);
    }
}

// Run by the test below in a process of its own, at the scale it set.
TEST(DisplayScale, DISABLED_AtTheScaleThisProcessStartedWith)
{
    const UINT dpi = DisplayScale::OfSystem();
    std::string tracks;
    for (int i = 0; i < 40; ++i)
        tracks += "0:30.00 ";
    PlayerHarness player(tracks, 1);
    PlayerApplication& app = player.app;
    app.AddTrayIcon();
    ICONINFO icon = {};
    ASSERT_TRUE(GetIconInfo(app.trayIconHandle, &icon));
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON) * 1000 + GetSystemMetrics(SM_CYSMICON), ImageSize(icon.hbmColor));
    EXPECT_EQ(DisplayScale::Scale(16, dpi), GetSystemMetrics(SM_CXSMICON));
    DeleteObject(icon.hbmColor), DeleteObject(icon.hbmMask);
    EXPECT_EQ(ImageSizeAt(dpi), MenuImageSize(app));

    app.titleEditor.SetTemplate(IDD_TITLEEDITOR, nullptr);
    app.controller.OnCommand(IDM_EDITTITLES);
    HWND list = GetDlgItem(app.titleEditor.hwnd, IDC_TRACKLIST);
    RECT client = {};
    GetClientRect(list, &client);
    LRESULT columns = SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) + SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0);
    EXPECT_EQ(client.right, columns) << "the columns fill the list beside its scroll bar";
    app.titleEditor.Destroy();
}

TEST(DisplayScale, AtOneAndTwiceAndOneAndAHalfTimesTheStandardScale)
{
    HKEY desktop = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &desktop, nullptr));
    DWORD saved = 0, size = sizeof saved;
    bool had = RegQueryValueExA(desktop, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&saved), &size) == 0;
    const std::string child = ProgramFolder() + "player_tests.exe --gtest_also_run_disabled_tests "
                                                "--gtest_filter=DisplayScale.DISABLED_AtTheScaleThisProcessStartedWith";
    for (DWORD dpi : {96u, 192u, 144u}) {
        RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        EXPECT_EQ(0, RunProgram(child)) << dpi;
    }
    if (had)
        RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved), sizeof saved);
    else
        RegDeleteValueA(desktop, "LogPixels");
    RegCloseKey(desktop);
}

}  // namespace
