#include "FileDialog.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The zero-separated strings of a filter list, up to the empty one.
std::vector<std::string> FilterStrings(const char* list)
{
    std::vector<std::string> parts;
    while (*list) {
        parts.push_back(list);
        list += parts.back().size() + 1;
    }
    return parts;
}

TEST(FileDialogTest, SetupTurnsTheFilterTextIntoTheDialogsList)
{
    FileDialog dialog(TRUE, nullptr, "", "WAVE (*.wav)|*.wav||", 0, nullptr, OFN_HIDEREADONLY, nullptr);
    EXPECT_EQ(76u, dialog.ofn.lStructSize);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY), dialog.ofn.Flags);
    EXPECT_EQ(dialog.fileName, dialog.ofn.lpstrFile);
    EXPECT_EQ(260u, dialog.ofn.nMaxFile);
    EXPECT_EQ(dialog.fileTitle, dialog.ofn.lpstrFileTitle);
    EXPECT_EQ(nullptr, dialog.ofn.lpstrDefExt);
    EXPECT_EQ(nullptr, dialog.ofn.lpstrTitle);

    // A leading "|" is kept; the second byte of "ポ" (0x7C) is no separator.
    dialog.Setup(FALSE, nullptr, "a.txt", "|x|ポップ|*.pop|", 2, "wavex", 0, "保存");
    std::vector<std::string> odd = {"|x", "ポップ", "*.pop"};
    EXPECT_EQ(odd, FilterStrings(dialog.ofn.lpstrFilter));
    EXPECT_STREQ("wav", dialog.ofn.lpstrDefExt) << "at most three characters";
    EXPECT_STREQ("保存", dialog.ofn.lpstrTitle);
    EXPECT_STREQ("a.txt", dialog.GetFileName());
    EXPECT_EQ(2u, dialog.ofn.nFilterIndex);

    dialog.Setup(TRUE, nullptr, nullptr, nullptr, 0, nullptr, 0, nullptr);
    EXPECT_EQ(nullptr, dialog.ofn.lpstrFile) << "no initial name, no file buffer";
}

// Answers the file dialog that the test thread opens: types a name into it
// and confirms, or cancels when the name is empty.
struct DialogAnswer {
    std::string name;
    bool answered = false;
    unsigned ticksAfter = 0;
};
DialogAnswer* answer;

BOOL CALLBACK CloseDialog(HWND window, LPARAM)
{
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

BOOL CALLBACK FindFileDialog(HWND window, LPARAM found)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (!answer)
        return;
    if (answer->answered) {
        // Still open long after the answer (an error box, say): end it all.
        if (++answer->ticksAfter == 500)
            EnumThreadWindows(GetCurrentThreadId(), CloseDialog, 0);
        return;
    }
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    answer->answered = true;
    if (answer->name.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    // The file name field: a combo box in newer dialogs, an edit in older.
    HWND field = GetDlgItem(dialog, cmb13);
    if (!field)
        field = GetDlgItem(dialog, edt1);
    SetWindowTextA(field, answer->name.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

int RunAnswered(FileDialog& dialog, const std::string& name)
{
    DialogAnswer reply;
    reply.name = name;
    answer = &reply;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerFileDialog);
    int result = dialog.DoModal();
    KillTimer(nullptr, timer);
    answer = nullptr;
    EXPECT_TRUE(reply.answered);
    return result;
}

TEST(FileDialogTest, OpenAndSaveDialogsAnswerAsTheUserDid)
{
    TempFolder folder;
    std::string wave = folder.File("chime.wav");
    WriteWholeFile(wave, "RIFF");

    FileDialog open(TRUE, nullptr, "start.wav", "WAVE (*.wav)|*.wav||", 0, nullptr, OFN_HIDEREADONLY, nullptr);
    EXPECT_EQ(IDCANCEL, RunAnswered(open, ""));
    EXPECT_STREQ("start.wav", open.GetFileName()) << "a cancelled dialog leaves the name";
    EXPECT_TRUE(open.ofn.Flags & OFN_FILEMUSTEXIST);

    open.Setup(TRUE, nullptr, "", "WAVE (*.wav)|*.wav||", 0, nullptr, OFN_HIDEREADONLY, nullptr);
    EXPECT_EQ(IDOK, RunAnswered(open, wave));
    EXPECT_STRCASEEQ(wave.c_str(), open.GetFileName());
    EXPECT_STREQ("chime.wav", open.fileTitle);

    FileDialog save(FALSE, nullptr, "", "WAVE (*.wav)|*.wav||", 0, nullptr, 0, nullptr);
    EXPECT_EQ(IDCANCEL, RunAnswered(save, ""));
    EXPECT_TRUE(save.ofn.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_FALSE(save.ofn.Flags & OFN_FILEMUSTEXIST);
}

}  // namespace
