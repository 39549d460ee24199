#include "CdDrives.h"

#include "Text.h"

#include <windows.h>

namespace {

void FormatRootPath(int drive, char* root, size_t capacity)
{
    FormatText(root, capacity, "%c:\\", 'A' + drive);
}

}  // namespace

bool IsCdDrive(int drive)
{
    if (drive < 0 || drive > 25)
        return false;
    char root[4];
    FormatRootPath(drive, root, sizeof root);
    return GetDriveTypeA(root) == DRIVE_CDROM;
}

int FindCdDrive(int first)
{
    for (int drive = first < 0 ? 0 : first; drive <= 25; ++drive) {
        if (IsCdDrive(drive))
            return drive;
    }
    return -1;
}

bool UnitsNameCdDrive(DWORD unitMask, int drive)
{
    if (drive >= 0)
        return drive <= 25 && (unitMask >> drive & 1) != 0;
    for (int unit = 0; unit <= 25; ++unit) {
        if ((unitMask >> unit & 1) && IsCdDrive(unit))
            return true;
    }
    return false;
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
