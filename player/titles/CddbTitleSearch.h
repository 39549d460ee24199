#pragma once

#include "CdAudioDevice.h"
#include "CddbLookup.h"
#include "Settings.h"
#include "TitleSearch.h"

// The title editor's "CDDB" button: asks the disc database about the disc
// being edited, lets the user choose when several discs fit, and puts the
// titles into the editor's fields. Nothing is written until the editor's OK.
// The network is asked off the window's thread; the editor stays usable.
class CddbTitleSearch : public TitleSearch {
public:
    CddbTitleSearch(CdAudioDevice& device, const Settings& settings, const char* caption);

    void Ask(TitleEditorDialog& editor) override;
    // An answer came to answerWindow that the player did not await; the
    // lookup is this object's now, and deleted unless it is the one awaited.
    void OnAnswer(TitleEditorDialog& editor, CddbLookup* lookup);
    // The editor closes: an answer still to come is deleted when it comes.
    void Forget() override;

    // The answers go to this window, which outlives the editor: an answer
    // posted while the editor closes is never lost with it.
    HWND answerWindow;

private:
    bool Start(TitleEditorDialog& editor, CddbLookup* lookup);
    void TakeMatches(TitleEditorDialog& editor, CddbLookup* lookup);
    void ShowBusy(TitleEditorDialog& editor, bool busy);
    void Tell(TitleEditorDialog& editor, const char* text, UINT icon);
    void TellFailure(TitleEditorDialog& editor, const char* text, const CddbLookup& lookup);

    CdAudioDevice& device;
    const Settings& settings;
    const char* caption;
    CddbLookup* pending;
};
