#pragma once

class TitleEditorDialog;

// What the title editor's "CDDB" button asks: the editor knows no more of
// the search than this, and the search fills the editor's fields.
class TitleSearch {
public:
    virtual ~TitleSearch() {}
    virtual void Ask(TitleEditorDialog& editor) = 0;
    // The editor closes: an answer still to come finds no editor.
    virtual void Forget() = 0;
};
