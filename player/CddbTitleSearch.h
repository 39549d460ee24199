#pragma once

#include "CdAudioDevice.h"
#include "CddbLookup.h"
#include "Settings.h"

class TitleEditorDialog;

// The title editor's "CDDB" button: asks the disc database about the disc
// being edited, lets the user choose when several discs fit, and puts the
// titles into the editor's fields. Nothing is written until the editor's OK.
// The network is asked off the window's thread; the editor stays usable.
class CddbTitleSearch {
public:
    CddbTitleSearch(CdAudioDevice& device, const Settings& settings, const char* caption);

    void Ask(TitleEditorDialog& editor);
    // The editor received CddbAnswerMessage; the lookup is this object's now.
    void OnAnswer(TitleEditorDialog& editor, CddbLookup* lookup);
    // The editor closes: an answer still to come goes nowhere.
    void Forget(TitleEditorDialog& editor);

private:
    bool Start(TitleEditorDialog& editor, CddbLookup* lookup);
    void TakeMatches(TitleEditorDialog& editor, CddbLookup* lookup);
    void ShowBusy(TitleEditorDialog& editor, bool busy);
    void Tell(TitleEditorDialog& editor, const char* text, UINT icon);

    CdAudioDevice& device;
    const Settings& settings;
    const char* caption;
    CddbLookup* pending;
};
