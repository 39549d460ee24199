#pragma once

#include "Dialog.h"
#include "DiscTitles.h"
#include "TrackNameEdit.h"

class Application;
class DiscTitleStore;
class TitleSearch;

// The title editor: the disc title, the artist and one name per track of
// the disc in the drive, written to "cdplayer.ini" on OK. Modeless, like the
// player's other dialogs; it edits the disc it was opened for even when
// another disc comes meanwhile.
class TitleEditorDialog : public Dialog {
public:
    TitleEditorDialog(DiscTitleStore& store, const Application& owner);
    ~TitleEditorDialog() override;

    // Opens the editor for a disc, with its titles as the player shows them
    // and the given track selected. False when the window cannot be made.
    bool Open(const char* id, int trackCount, int selectedTrack);

    // While the editor is open: puts titles into its fields, as if typed (OK
    // writes them); the disc and its track count stay those the editor was
    // opened for.
    void ShowTitles(const DiscTitles& found);
    // The disc's titles changed in the files (a lookup's answer): when the
    // editor is open for that disc, the fields not yet touched show them.
    void Refresh(const char* discId);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    char discId[16];
    // The titles as edited, taken from the fields as they are typed. From
    // the heap at the first opening, with the titles as shown: the records
    // are a hundred kilobytes each that a player which never edits titles
    // need not carry.
    DiscTitles* titles;
    TitleSearch* cddbSearch;  // the "CDDB" button's; without it the button is grayed

private:
    BOOL OnInitDialog();
    void FillTrackList();
    void FitColumns();
    void SelectTrack(int index);
    void ShowTrackName(int index);
    void TakeField(int id);
    bool Save();

    DiscTitles* shown;   // the titles as the fields first showed them (titles + 1)

    DiscTitleStore& store;
    const Application& app;
    TrackNameEdit nameEdit;
    int selectedTrack;   // index into titles.tracks, -1 for none
    bool showingName;    // the name field is being filled, not typed in
};

// The list view class lives in the common controls; they are loaded when the
// editor first opens, before its template, which names the class, is made.
bool LoadListViewClass();

// "タイトルを書き込めませんでした。" with the file and "タイトルは保存されていません。"
void FormatTitlesNotSaved(const char* path, char* text, size_t capacity);
