#include "TitleEditorDialog.h"

#include "Application.h"
#include "CommonControls.h"
#include "DiscTitleStore.h"
#include "DisplayScale.h"
#include "Text.h"
#include "TitleSearch.h"
#include "resource.h"

#include <commctrl.h>
#include <stdlib.h>

#include <initializer_list>

namespace {

const int NumberColumn = 0;
const int NameColumn = 1;
const int NumberColumnWidth = 24;  // dialog units
// Windows scales the dialog after WM_DPICHANGED; the columns follow then.
const UINT FitColumnsMessage = WM_APP + 0x41;

void InsertColumn(HWND list, int index, const char* heading, int width)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(heading);
    column.cx = width;
    column.iSubItem = index;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void SetItemText(HWND list, int item, int column, const char* text)
{
    LVITEMA cell = {};
    cell.iSubItem = column;
    cell.pszText = const_cast<char*>(text);
    ::SendMessageA(list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

bool LoadListViewClass()
{
    return LoadCommonControls(ICC_LISTVIEW_CLASSES);
}

void FormatTitlesNotSaved(const char* path, char* text, size_t capacity)
{
    FormatText(text, capacity, "タイトルを書き込めませんでした。\n%s\n\nタイトルは保存されていません。", path);
}

TitleEditorDialog::TitleEditorDialog(DiscTitleStore& titleStore, const Application& owner)
    : discId(), titles(nullptr), cddbSearch(nullptr), shown(nullptr), store(titleStore), app(owner), selectedTrack(-1),
      showingName(false)
{
}

TitleEditorDialog::~TitleEditorDialog()
{
    free(titles);
}

bool TitleEditorDialog::Open(const char* id, int trackCount, int track)
{
    if (!titles)
        titles = static_cast<DiscTitles*>(calloc(2, sizeof(DiscTitles)));
    if (!titles)
        return false;
    shown = titles + 1;
    CopyText(discId, sizeof discId, id);
    store.Load(discId, trackCount, *titles);
    *shown = *titles;
    selectedTrack = track >= 1 && track <= titles->trackCount ? track - 1 : 0;
    return CreateModeless() != nullptr;
}

// A lookup's answer for this disc came while the editor is open: the fields
// the user has not touched show what the player shows now.
void TitleEditorDialog::Refresh(const char* id)
{
    if (!hwnd || !IsWindow(hwnd) || lstrcmpA(id, discId) != 0)
        return;
    DiscTitles* fresh = static_cast<DiscTitles*>(malloc(sizeof(DiscTitles)));
    if (!fresh)
        return;
    store.Load(discId, titles->trackCount, *fresh);
    if (lstrcmpA(titles->title, shown->title) == 0)
        SetDlgItemText(IDC_DISCTITLE, fresh->title);
    if (lstrcmpA(titles->artist, shown->artist) == 0)
        SetDlgItemText(IDC_DISCARTIST, fresh->artist);
    HWND list = GetDlgItem(IDC_TRACKLIST);
    for (int i = 0; i < titles->trackCount; ++i) {
        if (lstrcmpA(titles->tracks[i], shown->tracks[i]) == 0) {
            CopyText(titles->tracks[i], sizeof titles->tracks[i], fresh->tracks[i]);
            SetItemText(list, i, NameColumn, titles->tracks[i]);
        }
    }
    *shown = *fresh;  // what the files hold now: a field typed in still differs, and is written
    ShowTrackName(selectedTrack);
    free(fresh);
}

LRESULT TitleEditorDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_TRACKLIST)
            return FALSE;
        if (header->code == LVN_ITEMCHANGED) {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED))
                ShowTrackName(change->iItem);
        } else if (header->code == NM_DBLCLK) {
            SetFocus(GetDlgItem(IDC_TRACKNAME));  // the name of the track clicked, ready to be typed over
        }
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DISCTITLE:
        case IDC_DISCARTIST:
        case IDC_TRACKNAME:
            if (HIWORD(wParam) == EN_CHANGE && !showingName)
                TakeField(LOWORD(wParam));
            return FALSE;
        case IDOK:
            if (Save())
                Destroy();
            return TRUE;
        case IDCANCEL:
            Destroy();
            return TRUE;
        case IDC_CDDB:
            if (cddbSearch)
                cddbSearch->Ask(*this);
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED:
        PostMessage(FitColumnsMessage, 0, 0);
        return FALSE;
    case FitColumnsMessage:
        FitColumns();
        return TRUE;
    case WM_CLOSE:
        Destroy();
        return TRUE;
    case WM_DESTROY:
        nameEdit.Unsubclass();
        if (cddbSearch)
            cddbSearch->Forget();
        return FALSE;
    }
    return FALSE;
}

BOOL TitleEditorDialog::OnInitDialog()
{
    CenterWindow(GetDesktopWindow());
    for (int id : {IDC_DISCTITLE, IDC_DISCARTIST, IDC_TRACKNAME})
        SendDlgItemMessage(id, EM_LIMITTEXT, DiscTitles::TextCapacity - 1, 0);
    SetDlgItemText(IDC_DISCTITLE, titles->title);
    SetDlgItemText(IDC_DISCARTIST, titles->artist);
    char label[64];
    FormatText(label, sizeof label, "ID: %s", discId);
    SetDlgItemText(IDC_DISCID, label);
    EnableWindow(GetDlgItem(IDC_CDDB), cddbSearch != nullptr);

    nameEdit.Attach(GetDlgItem(IDC_TRACKNAME));
    nameEdit.Subclass();
    nameEdit.trackList = GetDlgItem(IDC_TRACKLIST);
    FillTrackList();
    SelectTrack(selectedTrack);

    ShowWindow(SW_SHOW);
    SetForegroundWindow();
    return TRUE;  // the title field takes the focus
}

void TitleEditorDialog::FillTrackList()
{
    HWND list = GetDlgItem(IDC_TRACKLIST);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertColumn(list, NumberColumn, "No.", 0);
    InsertColumn(list, NameColumn, "曲名", 0);
    FitColumns();

    for (int i = 0; i < titles->trackCount; ++i) {
        char number[16];
        FormatText(number, sizeof number, "%d", i + 1);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = number;
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetItemText(list, i, NameColumn, titles->tracks[i]);
    }
}

// The name column takes the list's width but the number and a scroll bar
// (shown or not), at the list's display scale.
void TitleEditorDialog::FitColumns()
{
    HWND list = GetDlgItem(IDC_TRACKLIST);
    RECT numberWidth = {0, 0, NumberColumnWidth, 0};
    MapDialogRect(hwnd, &numberWidth);
    RECT client = {};
    GetClientRect(list, &client);
    int scrollBar = DisplayScale::Metric(SM_CXVSCROLL, DisplayScale::OfWindow(list));
    int withoutBar = client.right + ((::GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL) ? scrollBar : 0);
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, NumberColumn, numberWidth.right);
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, NameColumn, withoutBar - numberWidth.right - scrollBar);
}

void TitleEditorDialog::SelectTrack(int index)
{
    if (index < 0 || index >= titles->trackCount)
        return;
    HWND list = GetDlgItem(IDC_TRACKLIST);
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    ::SendMessageA(list, LVM_ENSUREVISIBLE, index, FALSE);
    ShowTrackName(index);
}

// The field shows the selected track's name, all of it selected, so that
// typing replaces it.
void TitleEditorDialog::ShowTrackName(int index)
{
    if (index < 0 || index >= titles->trackCount)
        return;
    selectedTrack = index;
    showingName = true;
    SetDlgItemText(IDC_TRACKNAME, titles->tracks[index]);
    showingName = false;
    SendDlgItemMessage(IDC_TRACKNAME, EM_SETSEL, 0, -1);
}

// The file takes a name of TextCapacity - 1 bytes, while the field counts
// characters: an edit that makes the name longer than the file takes is
// taken back, so what the field shows is what OK writes.
void TitleEditorDialog::TakeField(int id)
{
    char* text = id == IDC_DISCTITLE ? titles->title : id == IDC_DISCARTIST ? titles->artist : nullptr;
    if (id == IDC_TRACKNAME && selectedTrack >= 0 && selectedTrack < titles->trackCount)
        text = titles->tracks[selectedTrack];
    if (!text)
        return;
    char typed[DiscTitles::TextCapacity * 2] = "";
    if (GetDlgItemText(id, typed, sizeof typed) >= static_cast<UINT>(DiscTitles::TextCapacity)) {
        showingName = true;
        SetDlgItemText(id, text);
        showingName = false;
        SendDlgItemMessage(id, EM_SETSEL, DiscTitles::TextCapacity, DiscTitles::TextCapacity);
        MessageBeep(MB_OK);
        return;
    }
    CopyText(text, DiscTitles::TextCapacity, typed);
    if (id == IDC_TRACKNAME)
        SetItemText(GetDlgItem(IDC_TRACKLIST), selectedTrack, NameColumn, text);
}

void TitleEditorDialog::ShowTitles(const DiscTitles& found)
{
    if (!hwnd || !IsWindow(hwnd))
        return;
    SetDlgItemText(IDC_DISCTITLE, found.title);
    SetDlgItemText(IDC_DISCARTIST, found.artist);
    HWND list = GetDlgItem(IDC_TRACKLIST);
    for (int i = 0; i < titles->trackCount && i < found.trackCount; ++i) {
        CopyText(titles->tracks[i], sizeof titles->tracks[i], found.tracks[i]);
        SetItemText(list, i, NameColumn, titles->tracks[i]);
    }
    ShowTrackName(selectedTrack);
}

// Only what the user changed is written: a lookup's answer that came while
// the editor was open is not overwritten with the names it showed before.
// On a failed write the dialog stays open, with everything typed in it.
bool TitleEditorDialog::Save()
{
    DiscTitleFields changed = {};
    changed.title = lstrcmpA(titles->title, shown->title) != 0;
    changed.artist = lstrcmpA(titles->artist, shown->artist) != 0;
    bool any = changed.title || changed.artist;
    for (int i = 0; i < titles->trackCount; ++i) {
        changed.tracks[i] = lstrcmpA(titles->tracks[i], shown->tracks[i]) != 0;
        any = any || changed.tracks[i];
    }
    const char* path = nullptr;
    if (!any || store.Write(discId, *titles, &path, &changed))
        return true;
    char text[MAX_PATH + 128];
    FormatTitlesNotSaved(path && path[0] ? path : "cdplayer.ini", text, sizeof text);
    MessageBox(text, app.title, MB_OK | MB_ICONERROR);
    return false;
}
