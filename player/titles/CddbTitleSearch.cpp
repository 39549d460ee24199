#include "CddbTitleSearch.h"

#include "CddbMatchDialog.h"
#include "DiscLookup.h"
#include "Text.h"
#include "TitleEditorDialog.h"
#include "resource.h"

CddbTitleSearch::CddbTitleSearch(CdAudioDevice& cdDevice, const Settings& userSettings, const char* title)
    : answerWindow(nullptr), device(cdDevice), settings(userSettings), caption(title), pending(nullptr)
{
}

void CddbTitleSearch::Tell(TitleEditorDialog& editor, const char* text, UINT icon)
{
    editor.MessageBox(text, caption, MB_OK | icon);
}

// A server that gave a reason has it shown: "500 Unknown developer email"
// tells the user more than that the server could not be asked.
void CddbTitleSearch::TellFailure(TitleEditorDialog& editor, const char* text, const CddbLookup& lookup)
{
    char message[768];
    if (lookup.serverSaid[0] != '\0')
        FormatText(message, sizeof message, "%s\nサーバーの返答: %s", text, lookup.serverSaid);
    else
        CopyText(message, sizeof message, text);
    Tell(editor, message, MB_ICONEXCLAMATION);
}

// Nothing leaves the machine unasked: with the lookup off, the user says yes
// to this one question first.
void CddbTitleSearch::Ask(TitleEditorDialog& editor)
{
    if (pending)
        return;
    char text[512];
    if (!settings.CddbLookup) {
        FormatText(text, sizeof text,
                   "ディスクの目次（各トラックの開始位置と長さ）をCDDBサーバー %s に送って、タイトルを問い合わせます。"
                   "よろしいですか？",
                   settings.CddbServer);
        if (editor.MessageBox(text, caption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    char discId[16];
    device.GetDiscId(discId, sizeof discId);
    if (lstrcmpA(discId, editor.discId) != 0) {
        Tell(editor, "編集中のディスクがドライブにありません。", MB_ICONEXCLAMATION);
        return;
    }
    CddbLookup* lookup = NewCddbLookup();
    if (!lookup)
        return;
    if (!ReadTableOfContents(device, lookup->toc)) {
        DeleteCddbLookup(lookup);
        Tell(editor, "ディスクの目次を読めません。", MB_ICONEXCLAMATION);
        return;
    }
    lookup->kind = CddbListMatches;
    CddbServerFromSettings(settings, lookup->server);
    Start(editor, lookup);
}

bool CddbTitleSearch::Start(TitleEditorDialog& editor, CddbLookup* lookup)
{
    pending = StartCddbLookup(lookup, answerWindow, CddbAnswerMessage) ? lookup : nullptr;
    ShowBusy(editor, pending != nullptr);
    return pending != nullptr;
}

void CddbTitleSearch::OnAnswer(TitleEditorDialog& editor, CddbLookup* lookup)
{
    if (lookup == nullptr || lookup != pending || !IsWindow(editor.hwnd)) {
        DeleteCddbLookup(lookup);
        return;
    }
    pending = nullptr;
    ShowBusy(editor, false);
    if (lookup->kind == CddbListMatches) {
        TakeMatches(editor, lookup);
        return;
    }
    if (lookup->succeeded)
        editor.ShowTitles(lookup->titles);
    else
        TellFailure(editor, "CDDBサーバーからタイトルを読めませんでした。", *lookup);
    DeleteCddbLookup(lookup);
}

// One match is read at once; among several the user chooses.
void CddbTitleSearch::TakeMatches(TitleEditorDialog& editor, CddbLookup* lookup)
{
    int chosen = -1;
    if (!lookup->succeeded) {
        char text[512];
        if (lookup->queryResult == CddbQueryNoMatch)
            CopyText(text, sizeof text, "このディスクはCDDBに見つかりませんでした。");
        else
            FormatText(text, sizeof text, "CDDBサーバー %s:%u に問い合わせできませんでした。", settings.CddbServer,
                       settings.CddbPort);
        TellFailure(editor, text, *lookup);
    } else if (lookup->matches.count == 1) {
        chosen = 0;
    } else {
        CddbMatchDialog choice(lookup->matches, editor.hwnd);
        chosen = choice.Choose();
    }
    if (chosen < 0 || !IsWindow(editor.hwnd)) {
        DeleteCddbLookup(lookup);
        return;
    }
    lookup->kind = CddbReadMatch;
    lookup->match = lookup->matches.items[chosen];
    Start(editor, lookup);
}

void CddbTitleSearch::ShowBusy(TitleEditorDialog& editor, bool busy)
{
    editor.SetDlgItemText(IDC_CDDB, busy ? "問い合わせ中..." : "&CDDB");
    EnableWindow(editor.GetDlgItem(IDC_CDDB), !busy);
}

// The answer still goes to the player's window, which deletes it there.
void CddbTitleSearch::Forget()
{
    pending = nullptr;
}
