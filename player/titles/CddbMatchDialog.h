#pragma once

#include "CddbAnswer.h"
#include "Dialog.h"

// Several discs in the database fit: the user chooses one from a list of
// their categories and titles. Modal, over the title editor.
class CddbMatchDialog : public Dialog {
public:
    CddbMatchDialog(const CddbMatches& matches, HWND owner);
    ~CddbMatchDialog() override;

    // The index of the match chosen, or -1 when the user cancelled.
    int Choose();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    const CddbMatches& matches;
    int chosen;
};

// One line a match: its category, a tab and its title; a match that is not
// exact says so.
void FormatMatchLine(const CddbMatch& match, char* text, size_t capacity);
