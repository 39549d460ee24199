#include "CommandTable.h"

#include <windows.h>

// Every default is Alt+Ctrl+Shift.
static const unsigned AllThree = MOD_ALT | MOD_CONTROL | MOD_SHIFT;

const CommandTableEntry CommandTable[CommandCount] = {
    {"MainMenu", "メインメニュー表示", MakeHotKeyValue(AllThree, VK_RETURN)},
    {"TrackMenu", "トラックメニュー表示", MakeHotKeyValue(AllThree, VK_SPACE)},
    {"DriveMenu", "ドライブメニュー表示", MakeHotKeyValue(AllThree, VK_APPS)},
    {"ModeMenu", "再生モードメニュー", MakeHotKeyValue(AllThree, VK_BACK)},
    {"Play", "再生", MakeHotKeyValue(AllThree, VK_UP)},
    {"Stop", "停止", MakeHotKeyValue(AllThree, VK_DOWN)},
    {"Back", "前のトラック", MakeHotKeyValue(AllThree, VK_LEFT)},
    {"Next", "次のトラック", MakeHotKeyValue(AllThree, VK_RIGHT)},
    {"Eject", "取り出し", MakeHotKeyValue(AllThree, 'E')},
    {"Load", "格納", MakeHotKeyValue(AllThree, 'L')},
    {"Custom", "設定", MakeHotKeyValue(AllThree, 'C')},
    {"Info", "CDの情報", MakeHotKeyValue(AllThree, 'I')},
    {"Volume", "CDのボリューム", MakeHotKeyValue(AllThree, 'V')},
    {"VolCtrl", "ボリューム コントロール", MakeHotKeyValue(AllThree, 'O')},
    {"PropMM", "マルチメディアのプロパティ", MakeHotKeyValue(AllThree, 'M')},
};
