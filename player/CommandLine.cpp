#include "CommandLine.h"

#include "CommandTable.h"
#include "PlayerApplication.h"
#include "Text.h"
#include "resource.h"

#include <stdlib.h>
#include <string.h>

const char PlayTrackMessageName[] = "VelkinPlayTrack";

namespace {

// A player busy with a slow drive or server still answers within this time.
const UINT SendTimeoutMs = 10000;

const char* SkipBlanks(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

// Copies one argument, without its quotes, and returns what follows it.
const char* ReadArgument(const char* text, char* word, size_t capacity)
{
    size_t length = 0;
    bool quoted = false;
    for (; *text && (quoted || (*text != ' ' && *text != '\t')); ++text) {
        if (*text == '"')
            quoted = !quoted;
        else if (length + 1 < capacity)
            word[length++] = *text;
    }
    word[length] = '\0';
    return text;
}

// "1" to "99" and nothing else.
int ParseTrack(const char* digits)
{
    size_t length = strlen(digits);
    if (length < 1 || length > 2 || strspn(digits, "0123456789") != length)
        return 0;
    return atoi(digits);
}

}  // namespace

CommandLine::CommandLine() : kind(SwitchNone), value(0), argument() {}

void CommandLine::Parse(const char* line)
{
    char word[128];
    const char* rest = SkipBlanks(ReadArgument(line, word, sizeof word));  // the program's name
    CopyText(argument, sizeof argument, rest);
    kind = SwitchNone;
    value = 0;
    if (*rest == '\0')
        return;
    rest = SkipBlanks(ReadArgument(rest, word, sizeof word));
    kind = *rest == '\0' ? Classify(word) : SwitchUnknown;  // one switch per call
}

SwitchKind CommandLine::Classify(const char* word)
{
    if (word[0] != '/' && word[0] != '-')
        return SwitchUnknown;
    const char* name = word + 1;
    if (strcmp(name, "?") == 0)
        return SwitchHelp;
    if (_stricmp(name, "Exit") == 0)
        return SwitchExit;
    if (_strnicmp(name, "Track:", 6) == 0) {
        value = ParseTrack(name + 6);
        return value > 0 ? SwitchTrack : SwitchUnknown;
    }
    for (int index = 0; index < CommandCount; ++index) {
        if (_stricmp(name, CommandTable[index].key) == 0) {
            value = index;
            return SwitchCommand;
        }
    }
    return SwitchUnknown;
}

bool CommandLine::EndsHere(int* exitCode) const
{
    if (kind == SwitchNone)
        return false;
    if (kind == SwitchHelp || kind == SwitchUnknown) {
        *exitCode = ShowUsage();
        return true;
    }
    *exitCode = SendToRunningPlayer();
    if (*exitCode >= 0)
        return true;
    // No player: a stop or an exit has nothing to act on.
    *exitCode = SwitchDone;
    return kind == SwitchExit || (kind == SwitchCommand && value == CommandStop);
}

bool CommandLine::MessageOf(UINT* message, WPARAM* wParam) const
{
    switch (kind) {
    case SwitchCommand:
        *message = RegisterWindowMessageA(SendCommandMessageName);
        break;
    case SwitchTrack:
        *message = RegisterWindowMessageA(PlayTrackMessageName);
        break;
    case SwitchExit:
        *message = WM_COMMAND;
        *wParam = IDM_EXIT;
        return true;
    default:
        return false;
    }
    *wParam = static_cast<WPARAM>(value);
    return *message != 0;
}

int CommandLine::SendToRunningPlayer() const
{
    UINT message = 0;
    WPARAM wParam = 0;
    if (!MessageOf(&message, &wParam))
        return SwitchNotTaken;
    // A second player that is only starting has a window of the class too,
    // for a moment: it never answers, so every window is asked in turn.
    bool found = false;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, PlayerWindowClassName, nullptr)) != nullptr;) {
        found = true;
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, message, wParam, 0, SMTO_ABORTIFHUNG, SendTimeoutMs, &answer) &&
            (answer != 0 || message == WM_COMMAND))
            return SwitchDone;
    }
    return found ? SwitchNotTaken : -1;
}

void CommandLine::PostTo(HWND window, bool playing) const
{
    UINT message = 0;
    WPARAM wParam = 0;
    if (kind == SwitchCommand && value == CommandPlay && playing)
        return;
    if (MessageOf(&message, &wParam))
        PostMessageA(window, message, wParam, 0);
}

int CommandLine::ShowUsage() const
{
    char text[2048] = "";
    if (kind == SwitchUnknown)
        FormatText(text, sizeof text, "「%s」は使えません。\n\n", argument);
    AppendText(text, sizeof text, "velkin.exe /スイッチ\n\n動いているプレイヤーにコマンドを渡します。"
                                  "プレイヤーが動いていなければ起動してから実行します。\n\n");
    for (int index = 0; index < CommandCount; ++index) {
        char line[128];
        FormatText(line, sizeof line, "/%s\t%s\n", CommandTable[index].key, CommandTable[index].label);
        AppendText(text, sizeof text, line);
    }
    AppendText(text, sizeof text, "/Track:n\tトラック n を再生 (1～99)\n/Exit\t終了\n/?\tこの説明\n\n"
                                  "「/」の代わりに「-」も使えます。大文字と小文字は区別しません。");
    bool bad = kind == SwitchUnknown;
    MessageBoxA(nullptr, text, PlayerTitle, MB_OK | (bad ? MB_ICONERROR : MB_ICONINFORMATION));
    return bad ? SwitchBad : SwitchDone;
}
