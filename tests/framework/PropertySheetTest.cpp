#include "ListBox.h"
#include "PropertySheet.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Runs actions on a thread timer while a modal sheet runs its own loop.
class TimerSteps {
public:
    explicit TimerSteps(std::vector<std::function<bool()>> list) : steps(std::move(list))
    {
        current = this;
        timer = SetTimer(nullptr, 0, 10, Tick);
    }
    ~TimerSteps()
    {
        KillTimer(nullptr, timer);
        current = nullptr;
    }
    bool Finished() const { return next == steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        TimerSteps* self = current;
        if (!self || self->busy || self->Finished())
            return;
        self->busy = true;
        if (self->steps[self->next]())
            ++self->next;
        self->busy = false;
    }
    static TimerSteps* current;
    std::vector<std::function<bool()>> steps;
    size_t next = 0;
    bool busy = false;
    UINT_PTR timer;
};
TimerSteps* TimerSteps::current = nullptr;

// A page on the test template 100 that records its hooks and can refuse.
class TestPage : public PropertyPage {
public:
    explicit TestPage(PropertySheet* attachTo = nullptr) : sheet(attachTo) { SetTemplate(100, 0); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INITDIALOG && sheet)
            sheet->AttachWindow(::GetParent(hwnd));
        return PropertyPage::WindowProc(message, wParam, lParam);
    }
    BOOL OnApply() override
    {
        ++applies;
        return allowApply;
    }
    BOOL OnSetActive() override { return allowActivate; }

    PropertySheet* sheet;
    int applies = 0;
    BOOL allowApply = TRUE;
    BOOL allowActivate = TRUE;
};

TEST(PropertySheetTest, SetupFillsTheSheetAndPageDescriptions)
{
    TestPage first, second;
    EXPECT_EQ(48u, first.pageData.dwSize);
    EXPECT_EQ(static_cast<DWORD>(0), first.pageData.dwFlags);
    EXPECT_EQ(reinterpret_cast<LPARAM>(&first), first.pageData.lParam);
    EXPECT_EQ(&PropertyPage::StaticPageProc, first.pageData.pfnDlgProc);
    EXPECT_EQ(MAKEINTRESOURCEA(100), first.pageData.pszTemplate);
    second.SetTemplate(0x10064, 7);
    EXPECT_EQ(MAKEINTRESOURCEA(100), second.pageData.pszTemplate) << "low 16 bits of the id";
    EXPECT_EQ(static_cast<DWORD>(PSP_USEICONID), second.pageData.dwFlags);
    EXPECT_EQ(MAKEINTRESOURCEA(7), second.pageData.pszIcon);
    second.Release();
    EXPECT_EQ(static_cast<DWORD>(0), second.pageData.dwFlags) << "Release forgets template and icon";
    EXPECT_EQ(nullptr, second.pageData.pszTemplate);

    PropertySheet sheet;
    EXPECT_EQ(52u, sheet.header.dwSize);
    PropertyPage* pages[] = {&first, &second};
    sheet.Setup(pages, 2, "設定", nullptr, FALSE, TRUE, 1, 0x20005);
    EXPECT_EQ(static_cast<DWORD>(PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_HASHELP | PSH_USEICONID),
              sheet.header.dwFlags);
    EXPECT_EQ(2u, sheet.header.nPages);
    EXPECT_EQ(1u, sheet.header.nStartPage);
    EXPECT_STREQ("設定", sheet.caption);
    EXPECT_EQ(sheet.caption, sheet.header.pszCaption);
    EXPECT_EQ(MAKEINTRESOURCEA(5), sheet.header.pszIcon);
    EXPECT_EQ(&second, sheet.pages[1]);
    EXPECT_EQ(IDCANCEL, sheet.result);

    // A second set-up starts from the initial header.
    sheet.Setup(pages, 1, nullptr, nullptr, TRUE, FALSE, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(PSH_PROPSHEETPAGE), sheet.header.dwFlags);
    EXPECT_EQ(1u, sheet.header.nPages);
}

TEST(PropertySheetTest, ModalSheetSeesOkAndAPageCanRefuseToApply)
{
    PropertySheet sheet;
    TestPage first(&sheet), second;
    first.allowApply = FALSE;
    PropertyPage* pages[] = {&first, &second};
    sheet.Setup(pages, 2, "テスト", nullptr, FALSE, FALSE, 0, 0);

    bool applyHidden = false;
    bool stayedOpen = false;
    TimerSteps steps({
        [&] { return sheet.hwnd != nullptr; },
        [&] {
            HWND apply = GetDlgItem(sheet.hwnd, 0x3021);
            applyHidden = apply == nullptr || !IsWindowVisible(apply);
            SendMessageA(GetDlgItem(sheet.hwnd, IDOK), BM_CLICK, 0, 0);
            return true;
        },
        [&] {
            // The refusing page keeps the sheet open, on that page.
            stayedOpen = IsWindow(sheet.hwnd) && first.applies == 1 &&
                         reinterpret_cast<HWND>(SendMessageA(sheet.hwnd, PSM_GETCURRENTPAGEHWND, 0, 0)) == first.hwnd;
            first.allowApply = TRUE;
            SendMessageA(GetDlgItem(sheet.hwnd, IDOK), BM_CLICK, 0, 0);
            return true;
        },
    });
    sheet.DoModal();
    EXPECT_TRUE(steps.Finished());
    EXPECT_TRUE(applyHidden);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(2, first.applies);
    EXPECT_EQ(IDOK, sheet.result);
    EXPECT_FALSE(IsWindow(sheet.hwnd));
}

TEST(PropertySheetTest, ModelessSheetIsAttachedAndEndsOnCancel)
{
    PropertySheet sheet;
    TestPage first, second;
    PropertyPage* pages[] = {&first, &second};
    sheet.Setup(pages, 2, "テスト", nullptr, TRUE, FALSE, 0, 0);
    HWND window = sheet.CreateModeless();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, sheet.hwnd);
    EXPECT_EQ(&sheet, Window::FromHandle(window));
    EXPECT_FALSE(sheet.AttachWindow(window)) << "attached once only";
    EXPECT_EQ(IDCANCEL, sheet.result);

    // Each hook's answer reaches the sheet as the page's message result.
    first.allowApply = FALSE;
    first.allowActivate = FALSE;
    const struct {
        UINT code;
        LONG answer;
    } refusals[] = {{PSN_SETACTIVE, -1}, {PSN_APPLY, PSNRET_INVALID_NOCHANGEPAGE}};
    for (const auto& r : refusals) {
        NMHDR header = {window, 0, r.code};
        SetWindowLongPtrA(first.hwnd, DWLP_MSGRESULT, 12345);
        // The dialog manager hands the stored result back to the sender.
        EXPECT_EQ(r.answer, SendMessageA(first.hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header))) << r.code;
        EXPECT_EQ(r.answer, GetWindowLongPtrA(first.hwnd, DWLP_MSGRESULT)) << r.code;
    }
    NMHDR killActive = {window, 0, static_cast<UINT>(PSN_KILLACTIVE)};
    EXPECT_EQ(FALSE, SendMessageA(first.hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&killActive)))
        << "a hook that agrees leaves the sheet's default";

    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(window)) << "a modeless sheet ends at once";
    EXPECT_EQ(nullptr, sheet.hwnd);
    EXPECT_EQ(IDCANCEL, sheet.result);
    DrainMessages();
}

TEST(ListBoxTest, CreatesAListBoxAndKeepsItsSelection)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, parent);
    ListBox list;
    ASSERT_TRUE(list.Create("", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0, 0, 0, 100, 100, parent, 1000, nullptr));
    char className[32] = "";
    GetClassNameA(list.hwnd, className, sizeof className);
    EXPECT_STREQ("LISTBOX", CharUpperA(className));
    EXPECT_EQ(1000, GetDlgCtrlID(list.hwnd));
    EXPECT_EQ(&list, Window::FromHandle(list.hwnd));

    EXPECT_EQ(0, list.AddString("再生"));
    EXPECT_EQ(1, list.AddString("停止"));
    EXPECT_EQ(LB_ERR, list.GetCurSel());
    EXPECT_TRUE(list.SetCurSel(1));
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_FALSE(list.SetCurSel(2)) << "past the last item";
    DestroyWindow(parent);
}

}  // namespace
