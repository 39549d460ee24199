#include "HotKeyReport.h"

#include "KeyTable.h"
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

}  // namespace

void ComposeHotKeyReport(unsigned failed, bool allTaken, const int (&hotKeys)[CommandCount], char* text,
                         size_t capacity)
{
    CopyText(text, capacity, "");
    if (failed == 0)
        return;
    AppendText(text, capacity, allTaken ? TakenHeading : FailedHeading);
    int left = CountBits(failed);
    for (int index = 0; index < CommandCount && left > 0; ++index) {
        if (!(failed & (1u << index)))
            continue;
        char key[64], line[128];
        FormatHotKey(hotKeys[index], key, sizeof key);
        FormatText(line, sizeof line, "%s: %s\n", CommandTable[index].label, key);
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

HotKeyReport::HotKeyReport(PlayerApplication& owner) : text(), app(owner), shown(), pending(false) {}

void HotKeyReport::Report(unsigned failed, bool allTaken)
{
    ComposeHotKeyReport(failed, allTaken, app.settings.hotKeys, text, sizeof text);
    pending = failed != 0 && strcmp(text, shown) != 0;
    ShowPending();
}

void HotKeyReport::ShowPending()
{
    if (!pending || !app.trayIcon.ShowBalloon(app.title, text))
        return;
    CopyText(shown, sizeof shown, text);
    pending = false;
}
