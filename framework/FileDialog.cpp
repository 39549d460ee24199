#include "FileDialog.h"

#include "Text.h"

#include <string.h>

// The form every Windows version since NT 4 accepts: 76 bytes in 32 bits, 136 in 64.
static_assert(sizeof(OPENFILENAME_NT4A) == (sizeof(void*) == 8 ? 136 : 76), "the NT 4 dialog description");

FileDialog::FileDialog(BOOL open, HWND owner, LPCSTR initialFile, LPCSTR filterText, DWORD filterIndex,
                       LPCSTR defaultExt, DWORD flags, LPCSTR title)
    : CommonDialog(nullptr), ofn(), fileName(), fileTitle(), defaultExtension(), dialogTitle(), filter(),
      openMode(open)
{
    Setup(open, owner, initialFile, filterText, filterIndex, defaultExt, flags, title);
}

FileDialog::~FileDialog() {}

// Turns each "|" after the first character into a zero byte. The second
// byte of a double-byte character ("ポ" is 0x83 0x7C) is not a separator.
static void SplitFilter(char* text)
{
    if (text[0] == '\0')
        return;
    size_t i = IsDBCSLeadByteEx(932, static_cast<BYTE>(text[0])) && text[1] != '\0' ? 2 : 1;
    while (text[i] != '\0') {
        if (IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) && text[i + 1] != '\0') {
            i += 2;
            continue;
        }
        if (text[i] == '|')
            text[i] = '\0';
        ++i;
    }
}

void FileDialog::Setup(BOOL open, HWND owner, LPCSTR initialFile, LPCSTR filterText, DWORD filterIndex,
                       LPCSTR defaultExt, DWORD flags, LPCSTR title)
{
    openMode = open;
    fileName[0] = '\0';
    fileTitle[0] = '\0';
    dialogTitle[0] = '\0';

    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.nFilterIndex = filterIndex;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = sizeof fileTitle;
    ofn.Flags = flags;

    if (initialFile) {
        CopyText(fileName, sizeof fileName, initialFile);
        ofn.lpstrFile = fileName;
        ofn.nMaxFile = sizeof fileName;
    }
    if (defaultExt) {
        CopyText(defaultExtension, sizeof defaultExtension, defaultExt);
        ofn.lpstrDefExt = defaultExtension;
    }
    if (title) {
        CopyText(dialogTitle, sizeof dialogTitle, title);
        ofn.lpstrTitle = dialogTitle;
    }
    if (filterText) {
        // The copy keeps room for the second zero that ends the list.
        memset(filter, 0, sizeof filter);
        CopyText(filter, sizeof filter - 1, filterText);
        SplitFilter(filter);
        ofn.lpstrFilter = filter;
    }
}

int FileDialog::DoModal()
{
    BOOL chosen;
    LPOPENFILENAMEA description = reinterpret_cast<LPOPENFILENAMEA>(&ofn);
    if (openMode) {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameA(description);
    } else {
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        chosen = GetSaveFileNameA(description);
    }
    if (!chosen)
        return IDCANCEL;
    GetFileTitleA(fileName, fileTitle, sizeof fileTitle);
    return IDOK;
}
