#pragma once

#include "CommonDialog.h"

#include <commdlg.h>

// The Open or Save common dialog, described by a "|"-separated filter text.
class FileDialog : public CommonDialog {
public:
    FileDialog(BOOL open, HWND owner, LPCSTR initialFile, LPCSTR filterText, DWORD filterIndex,
               LPCSTR defaultExt, DWORD flags, LPCSTR title);
    ~FileDialog() override;

    // Runs the dialog: IDOK when a file was chosen, IDCANCEL when the user
    // cancelled or the dialog failed.
    int DoModal() override;

    void Setup(BOOL open, HWND owner, LPCSTR initialFile, LPCSTR filterText, DWORD filterIndex,
               LPCSTR defaultExt, DWORD flags, LPCSTR title);
    LPSTR GetFileName() { return fileName; }

    // The form without the fields added in Windows 2000: lStructSize 76.
    OPENFILENAME_NT4A ofn;
    char fileName[MAX_PATH];
    char fileTitle[256];
    char defaultExtension[4];
    char dialogTitle[256];
    char filter[2048];
    int openMode;
};
