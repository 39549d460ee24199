#include "KeyTable.h"

#include "CommandTable.h"
#include "Text.h"

#include <windows.h>

// The blank after a digit or arrow is ASCII; the parentheses are full-width.
const KeyTableEntry KeyTable[KeyTableCount] = {
    {"A", 0x41}, {"B", 0x42}, {"C", 0x43}, {"D", 0x44}, {"E", 0x45}, {"F", 0x46}, {"G", 0x47},
    {"H", 0x48}, {"I", 0x49}, {"J", 0x4A}, {"K", 0x4B}, {"L", 0x4C}, {"M", 0x4D}, {"N", 0x4E},
    {"O", 0x4F}, {"P", 0x50}, {"Q", 0x51}, {"R", 0x52}, {"S", 0x53}, {"T", 0x54}, {"U", 0x55},
    {"V", 0x56}, {"W", 0x57}, {"X", 0x58}, {"Y", 0x59}, {"Z", 0x5A},
    {"0 （フルキー）", 0x30}, {"1 （フルキー）", 0x31}, {"2 （フルキー）", 0x32}, {"3 （フルキー）", 0x33},
    {"4 （フルキー）", 0x34}, {"5 （フルキー）", 0x35}, {"6 （フルキー）", 0x36}, {"7 （フルキー）", 0x37},
    {"8 （フルキー）", 0x38}, {"9 （フルキー）", 0x39},
    {"0 （テンキー）", 0x60}, {"1 （テンキー）", 0x61}, {"2 （テンキー）", 0x62}, {"3 （テンキー）", 0x63},
    {"4 （テンキー）", 0x64}, {"5 （テンキー）", 0x65}, {"6 （テンキー）", 0x66}, {"7 （テンキー）", 0x67},
    {"8 （テンキー）", 0x68}, {"9 （テンキー）", 0x69},
    {"* （テンキー）", 0x6A}, {"+ （テンキー）", 0x6B}, {"- （テンキー）", 0x6D}, {". （テンキー）", 0x6E},
    {"/ （テンキー）", 0x6F},
    {"F1", 0x70}, {"F2", 0x71}, {"F3", 0x72}, {"F4", 0x73}, {"F5", 0x74}, {"F6", 0x75}, {"F7", 0x76},
    {"F8", 0x77}, {"F9", 0x78}, {"F10", 0x79}, {"F11", 0x7A}, {"F12", 0x7B}, {"F13", 0x7C},
    {"F14", 0x7D}, {"F15", 0x7E},
    {"Backspace", 0x08}, {"Tab", 0x09}, {"Enter", 0x0D}, {"Pause", 0x13}, {"Esc", 0x1B},
    {"前候補", 0x1C}, {"無変換", 0x1D}, {"Space", 0x20}, {"PageUp", 0x21}, {"PageDown", 0x22},
    {"End", 0x23}, {"Home", 0x24},
    {"← （カーソルキー）", 0x25}, {"→ （カーソルキー）", 0x27}, {"↑ （カーソルキー）", 0x26},
    {"↓ （カーソルキー）", 0x28},
    {"Ins", 0x2D}, {"Del", 0x2E}, {"アプリケーションキー", 0x5D},
};

int FindKeyTableIndex(unsigned code)
{
    for (int i = 0; i < KeyTableCount; ++i)
        if (KeyTable[i].code == code)
            return i;
    return -1;
}

void FormatHotKey(int value, char* text, size_t capacity)
{
    static const struct {
        unsigned modifier;
        const char* word;
    } modifiers[] = {{MOD_CONTROL, "Ctrl+"}, {MOD_ALT, "Alt+"}, {MOD_SHIFT, "Shift+"}, {MOD_WIN, "Windows+"}};
    CopyText(text, capacity, "");
    for (const auto& m : modifiers)
        if (HotKeyModifiers(value) & m.modifier)
            AppendText(text, capacity, m.word);
    int index = FindKeyTableIndex(HotKeyCode(value));
    if (index >= 0) {
        AppendText(text, capacity, KeyTable[index].label);
        return;
    }
    char code[24];
    FormatText(code, sizeof code, "キーコード 0x%02X", HotKeyCode(value));
    AppendText(text, capacity, code);
}
