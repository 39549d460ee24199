#include "FileDialog.h"
#include "PropertySheet.h"

#include <gtest/gtest.h>

namespace {

// A page on the test template 100 whose apply hook refuses until allowed.
class TestPage : public PropertyPage {
public:
    explicit TestPage(PropertySheet* owner) : sheet(owner) { SetTemplate(100, 0); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INITDIALOG && sheet)
            sheet->AttachWindow(::GetParent(hwnd));
        return PropertyPage::WindowProc(message, wParam, lParam);
    }
    BOOL OnApply() override { return ++applies, allowApply; }
    PropertySheet* sheet;
    int applies = 0;
    BOOL allowApply = FALSE;
};

// Runs in the modal sheet's loop, which dispatches the thread timer: OK while
// the first page refuses, then OK again once it allows.
TestPage* watched;
HWND shownAfterRefusal;
void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = watched->hwnd ? ::GetParent(watched->hwnd) : nullptr;
    if (!window || !KillTimer(nullptr, timer))
        return;
    SendMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    shownAfterRefusal = reinterpret_cast<HWND>(SendMessageA(window, PSM_GETCURRENTPAGEHWND, 0, 0));
    watched->allowApply = TRUE;
    SendMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    if (IsWindow(window))  // still open: a fault, end it anyway
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
}

TEST(PropertySheetTest, ModalSheetEndsWithOkOnlyOnceEveryPageApplies)
{
    PropertySheet sheet;
    TestPage first(&sheet), second(nullptr);
    PropertyPage* pages[] = {&first, &second};
    sheet.Setup(pages, 2, "テスト", nullptr, FALSE, FALSE, 0, 0);
    watched = &first;
    SetTimer(nullptr, 0, 10, Tick);
    sheet.DoModal();
    EXPECT_EQ(first.hwnd, shownAfterRefusal) << "the refusing page stays open";
    EXPECT_EQ(2, first.applies);
    EXPECT_EQ(IDOK, sheet.result);
    EXPECT_FALSE(IsWindow(sheet.hwnd));
}

TEST(FileDialogTest, FilterTextBecomesTheDialogsListWithoutSplittingACharacter)
{
    FileDialog dialog(TRUE, nullptr, "", "WAVE (*.wav)|*.wav||", 0, nullptr, OFN_HIDEREADONLY, nullptr);
    // The form every version of the dialog takes, in this word size.
    EXPECT_EQ(sizeof(void*) == 8 ? 136u : 76u, dialog.ofn.lStructSize);
    // A leading "|" is kept; the second byte of "ポ" (0x7C) is no separator.
    dialog.Setup(FALSE, nullptr, "a.txt", "|x|ポップ|*.pop|", 2, "wavex", 0, "保存");
    const char* list = dialog.ofn.lpstrFilter;
    for (const char* part : {"|x", "ポップ", "*.pop", ""}) {
        EXPECT_STREQ(part, list);
        list += strlen(list) + 1;
    }
    EXPECT_STREQ("wav", dialog.ofn.lpstrDefExt) << "at most three characters";
}

}  // namespace
