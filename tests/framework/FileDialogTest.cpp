#include "FileDialog.h"

#include <gtest/gtest.h>

namespace {

TEST(FileDialogTest, FilterTextBecomesTheDialogsListWithoutSplittingACharacter)
{
    // A leading "|" is kept; the second byte of "ポ" (0x7C) is no separator.
    FileDialog dialog(FALSE, nullptr, "a.txt", "|x|ポップ|*.pop|", 2, "wavex", 0, "保存");
    const char* list = dialog.ofn.lpstrFilter;
    for (const char* part : {"|x", "ポップ", "*.pop", ""}) {
        EXPECT_STREQ(part, list);
        list += strlen(list) + 1;
    }
    EXPECT_STREQ("wav", dialog.ofn.lpstrDefExt) << "at most three characters";
}

}  // namespace
