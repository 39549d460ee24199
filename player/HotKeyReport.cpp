#include "HotKeyReport.h"

#include "KeyTable.h"
#include "MediaKeys.h"
#include "PlayerApplication.h"
#include "Text.h"

#include <string.h>

namespace {

// Short lines: a balloon may be narrow, and Wine's does not wrap.
const char TakenHeading[] = "ほかのプログラムが使っているショートカットキー:\n";
const char FailedHeading[] = "登録できなかったショートカットキー:\n";
const char WhereToChange[] = "「設定」の「ショートカットキー」で変更できます。";
const char MoreKeys[] = "ほか %d 件\n";
const size_t MoreKeysRoom = sizeof "ほか 15 件\n";

int CountBits(unsigned bits)
{
    int count = 0;
    for (; bits; bits &= bits - 1)
        ++count;
    return count;
}

// "<command>: <key>" with a line break, for a command or a media key.
void FormatFailedKey(int index, const int (&hotKeys)[CommandCount], char* line, size_t capacity)
{
    if (index >= CommandCount) {
        FormatText(line, capacity, "%s: %s\n", MediaKeyTable[index - CommandCount].label, MediaKeyName);
        return;
    }
    char key[64];
    FormatHotKey(hotKeys[index], key, sizeof key);
    FormatText(line, capacity, "%s: %s\n", CommandTable[index].label, key);
}

// FNV-1a: two of the few reports of a run sharing one is out of reach.
unsigned Fingerprint(const char* text)
{
    unsigned hash = 2166136261u;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        hash = (hash ^ *p) * 16777619u;
    return hash;
}

}  // namespace

void ComposeHotKeyReport(unsigned failed, bool allTaken, const int (&hotKeys)[CommandCount], char* text,
                         size_t capacity)
{
    CopyText(text, capacity, "");
    if (failed == 0)
        return;
    AppendText(text, capacity, allTaken ? TakenHeading : FailedHeading);
    int left = CountBits(failed);
    for (int index = 0; index < CommandCount + MediaKeyCount && left > 0; ++index) {
        if (!(failed & (1u << index)))
            continue;
        char line[128];
        FormatFailedKey(index, hotKeys, line, sizeof line);
        size_t room = strlen(line) + sizeof WhereToChange + (left > 1 ? MoreKeysRoom : 0);
        if (strlen(text) + room > capacity) {
            FormatText(line, sizeof line, MoreKeys, left);
            AppendText(text, capacity, line);
            break;
        }
        AppendText(text, capacity, line);
        --left;
    }
    AppendText(text, capacity, WhereToChange);
}

HotKeyReport::HotKeyReport(PlayerApplication& owner) : text(), app(owner), shown(), shownCount(0), pending(false) {}

void HotKeyReport::Report(unsigned failed, bool allTaken)
{
    ComposeHotKeyReport(failed, allTaken, app.settings.hotKeys, text, sizeof text);
    pending = failed != 0 && !WasShown(text);
    ShowPending();
}

void HotKeyReport::ShowPending()
{
    if (!pending || !app.trayIcon.ShowBalloon(app.title, text))
        return;
    shown[shownCount % ShownCapacity] = Fingerprint(text);
    ++shownCount;
    pending = false;
}

bool HotKeyReport::WasShown(const char* report) const
{
    unsigned fingerprint = Fingerprint(report);
    int count = shownCount < ShownCapacity ? shownCount : ShownCapacity;
    for (int i = 0; i < count; ++i)
        if (shown[i] == fingerprint)
            return true;
    return false;
}
