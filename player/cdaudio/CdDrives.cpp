#include "CdDrives.h"

#include "Text.h"

#include <windows.h>

namespace {

void FormatRootPath(int drive, char* root, size_t capacity)
{
    FormatText(root, capacity, "%c:\\", 'A' + drive);
}

}  // namespace

int FindCdDrive(int first)
{
    for (int drive = first < 0 ? 0 : first; drive <= 25; ++drive) {
        char root[4];
        FormatRootPath(drive, root, sizeof root);
        if (GetDriveTypeA(root) == DRIVE_CDROM)
            return drive;
    }
    return -1;
}

void FormatDriveText(int drive, char* text, size_t capacity)
{
    char root[4];
    FormatRootPath(drive, root, sizeof root);
    char label[16] = {};
    // An empty label (a drive that answers without a disc) shows as no label.
    if (GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) && label[0] != '\0') {
        char shown[2 * sizeof label] = "";
        AppendMenuText(shown, sizeof shown, label);  // the label as written, an "&" in it too
        FormatText(text, capacity, "&%c:  (%s)", 'A' + drive, shown);
    } else
        FormatText(text, capacity, "&%c:", 'A' + drive);
}
