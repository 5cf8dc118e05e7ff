// The readme and agreement pages as the user meets them: their layout and
// texts, the keys and buttons that end them, the tab order, the text boxes'
// selection and scrolling.
//
// No Application Manager is registered here, so a run whose pages were both
// accepted ends with message 1 and touches nothing.
#include "harness.h"
#include "driver.h"
#include <gtest/gtest.h>

namespace e2e {
namespace {

const int IDC_PAGETEXT = 6;

enum PageId { README = 1, AGREEMENT = 2 };

struct Control {
    int id;
    const char *className;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    const char *text;  // nullptr: the page text
    int x, y, cx, cy;  // dialog units
};

const Control README_CONTROLS[] = {
    {IDC_PAGETEXT, "Edit", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP, WS_EX_STATICEDGE, nullptr, 115, 93, 299, 105},
    {IDCANCEL, "Button", BS_PUSHBUTTON | WS_TABSTOP, 0, "&Exit", 310, 205, 50, 14},
    {IDOK, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, "&Next  >>", 365, 205, 50, 14},
    {-1, "Static", SS_LEFT | WS_GROUP, 0,
     "If you wish to exit Setup without installing this software, choose Exit. If you wish to continue installing this "
     "software, choose Next.",
     5, 205, 295, 17},
    {-1, "Static", SS_LEFT | WS_GROUP, 0,
     "Thank you for choosing to install this software for your Windows CE device. Before you begin, please look "
     "through the following README.",
     115, 70, 309, 18},
};

const Control AGREEMENT_CONTROLS[] = {
    {IDC_PAGETEXT, "Edit", ES_MULTILINE | ES_READONLY | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, WS_EX_STATICEDGE,
     nullptr, 115, 93, 300, 105},
    {IDCANCEL, "Button", BS_PUSHBUTTON | WS_TABSTOP, 0, "&Exit", 310, 205, 50, 14},
    {IDOK, "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, "&Next  >>", 365, 205, 50, 14},
    {-1, "Static", SS_LEFT | WS_GROUP, 0,
     "Please read the following license agreement. Press the PAGE DOWN key to see the rest of the agreement.", 115, 70,
     310, 18},
    {-1, "Static", SS_LEFT | WS_GROUP, 0,
     "Do you accept all terms of the preceding End User License Agreement? If you choose Exit, Setup will close. To "
     "continue with setup you must accept this agreement by choosing Next.",
     5, 205, 296, 18},
};

// The page text as the package carries it, without its NUL.
std::string PageText(PageId page)
{
    std::string text = FileBytes(PackageContent(page == README ? "readme.bin" : "agreement.bin"));
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

struct Selection {
    DWORD start, end;
};
bool operator==(const Selection &a, const Selection &b) { return a.start == b.start && a.end == b.end; }
std::ostream &operator<<(std::ostream &out, const Selection &s) { return out << "(" << s.start << ", " << s.end << ")"; }

Selection SelectionOf(HWND edit)
{
    LRESULT both = SendMessageA(edit, EM_GETSEL, 0, 0);
    return {LOWORD(both), HIWORD(both)};
}

LRESULT FirstVisibleLine(HWND edit) { return SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0); }

// A run of setup with no Application Manager registered, opened at a page.
class PageTest : public ::testing::Test {
protected:
    PageTest() { registry_.DeleteKey(); }

    // Starts setup and brings up the page: the agreement page after Next on the readme.
    HWND Open(PageId page, const std::string &exe = ShippedSetup())
    {
        exe_ = exe;
        if (!setup_.Start(exe))
            return NULL;
        HWND readme = driver::WaitForWindow(setup_.Id(), README_CAPTION);
        if (!readme || !WaitUntilReadyForKeys(readme))
            return NULL;
        if (page == README)
            return readme;
        driver::PressAltKey(readme, 'N');
        driver::WaitForWindowGone(readme);
        return Ready(driver::WaitForWindow(setup_.Id(), AGREEMENT_CAPTION));
    }

    // The page, once keys typed into it arrive whole; NULL if it never shows.
    static HWND Ready(HWND page) { return page && WaitUntilReadyForKeys(page) ? page : NULL; }

    // Waits for setup's end, watching that the agreement page never shows.
    DWORD ExitCodeWithoutAgreementPage()
    {
        DWORD start = GetTickCount();
        while (!setup_.Ended() && GetTickCount() - start < 10000) {
            EXPECT_EQ(driver::WaitForWindow(setup_.Id(), AGREEMENT_CAPTION, 0), HWND(NULL)) << "the agreement page showed";
            Sleep(5);
        }
        return setup_.WaitForExit(0);
    }

    // Finishes the run after the last page: what the user saw until its end.
    Outcome Finish()
    {
        Outcome outcome;
        FinishRun(setup_, &outcome);
        return outcome;
    }

    void ExpectAccepted()
    {
        Outcome outcome = Finish();
        EXPECT_EQ(outcome.failure, "");
        EXPECT_EQ(outcome.exitCode, 0u);
        ASSERT_EQ(outcome.messages.size(), 1u) << "message 1 shows that setup went on to install";
        EXPECT_EQ(outcome.messages[0].text, MessageText(1));
    }

    AppPathsValue registry_;
    ProcessTree setup_;
    std::string exe_;
};

// Focus on the page's text box, where the page opens with it.
void FocusTextBox(HWND page)
{
    HWND edit = GetDlgItem(page, IDC_PAGETEXT);
    if (driver::FocusOf(page) != edit)
        driver::Click(edit);
}

class PageLayout : public PageTest, public ::testing::WithParamInterface<PageId> {};

TEST_P(PageLayout, FrameControlsAndText)
{
    PageId id = GetParam();
    HWND page = Open(id);
    ASSERT_TRUE(page);

    // The frame: no system menu, no close box, centred in the work area.
    const DWORD addedBySystem = WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK;
    EXPECT_EQ(GetWindowLongA(page, GWL_STYLE) & ~addedBySystem,
              DWORD(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_CENTER));
    EXPECT_EQ(GetWindowLongA(page, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT), 0);
    RECT client, frame, work;
    GetClientRect(page, &client);
    RECT size = driver::DialogUnitsToPixels(exe_, id, 0, 0, 426, 226);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    GetWindowRect(page, &frame);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);

    // The controls in template order (the pictures after them are the page look's).
    const Control *controls = id == README ? README_CONTROLS : AGREEMENT_CONTROLS;
    HWND child = GetWindow(page, GW_CHILD);
    for (int i = 0; i < 5; ++i, child = GetWindow(child, GW_HWNDNEXT)) {
        const Control &want = controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        ASSERT_TRUE(child);
        EXPECT_EQ(GetDlgCtrlID(child), want.id);
        EXPECT_EQ(driver::ClassOf(child), want.className);
        EXPECT_EQ(DWORD(GetWindowLongA(child, GWL_STYLE)), want.style | WS_CHILD | WS_VISIBLE);
        // The dialog manager adds WS_EX_NOPARENTNOTIFY to every control.
        EXPECT_EQ(DWORD(GetWindowLongA(child, GWL_EXSTYLE)) & ~WS_EX_NOPARENTNOTIFY, want.exStyle);
        EXPECT_EQ(driver::WindowText(child), want.text ? std::string(want.text) : PageText(id));
        RECT rect = driver::ControlRect(child);
        RECT wanted = driver::DialogUnitsToPixels(exe_, id, want.x, want.y, want.cx, want.cy);
        EXPECT_TRUE(EqualRect(&rect, &wanted)) << "at " << rect.left << "," << rect.top << " " << rect.right - rect.left
                                               << "x" << rect.bottom - rect.top << ", wanted " << wanted.left << ","
                                               << wanted.top << " " << wanted.right - wanted.left << "x"
                                               << wanted.bottom - wanted.top;
    }

    // Open at the beginning of the text, nothing selected, the caret at the
    // start. The agreement page has the system focus its text box; the readme
    // page leaves the focus to the system (Wine, too, puts it in the text box).
    HWND edit = GetDlgItem(page, IDC_PAGETEXT);
    if (id == AGREEMENT)
        EXPECT_EQ(driver::FocusOf(page), edit);
    EXPECT_EQ(FirstVisibleLine(edit), 0);
    EXPECT_EQ(SelectionOf(edit), (Selection{0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Page, PageLayout, ::testing::Values(README, AGREEMENT),
                         [](const ::testing::TestParamInfo<PageId> &info) {
                             return std::string(info.param == README ? "Readme" : "Agreement");
                         });

// What a user does on a page, and what comes of it.
enum class Action { CLICK_EXIT, ALT_E, ESCAPE, ENTER_ON_EXIT, CLICK_NEXT, ALT_N, ENTER_ON_NEXT, ENTER_IN_TEXT_BOX };
enum class Result {
    ENDS,       // setup ends with -1, nothing more shown
    GOES_ON,    // the next page (after the readme) or the installation (after the agreement)
    STAYS,      // the page stays with its text unchanged
};

struct PageAction {
    const char *name;
    PageId page;
    Action action;
    Result result;
};

std::ostream &operator<<(std::ostream &out, const PageAction &row) { return out << row.name; }

const PageAction PAGE_ACTIONS[] = {
    {"ReadmeClickExit", README, Action::CLICK_EXIT, Result::ENDS},
    {"ReadmeAltE", README, Action::ALT_E, Result::ENDS},
    {"ReadmeEscape", README, Action::ESCAPE, Result::ENDS},
    {"ReadmeEnterOnExit", README, Action::ENTER_ON_EXIT, Result::ENDS},
    {"ReadmeClickNext", README, Action::CLICK_NEXT, Result::GOES_ON},
    {"ReadmeAltN", README, Action::ALT_N, Result::GOES_ON},
    {"ReadmeEnterOnNext", README, Action::ENTER_ON_NEXT, Result::GOES_ON},
    // The readme's text box lacks ES_WANTRETURN: Enter there is the default button's.
    {"ReadmeEnterInTextBox", README, Action::ENTER_IN_TEXT_BOX, Result::GOES_ON},
    {"AgreementClickExit", AGREEMENT, Action::CLICK_EXIT, Result::ENDS},
    {"AgreementAltE", AGREEMENT, Action::ALT_E, Result::ENDS},
    {"AgreementEscape", AGREEMENT, Action::ESCAPE, Result::ENDS},
    {"AgreementEnterOnExit", AGREEMENT, Action::ENTER_ON_EXIT, Result::ENDS},
    {"AgreementClickNext", AGREEMENT, Action::CLICK_NEXT, Result::GOES_ON},
    {"AgreementAltN", AGREEMENT, Action::ALT_N, Result::GOES_ON},
    {"AgreementEnterOnNext", AGREEMENT, Action::ENTER_ON_NEXT, Result::GOES_ON},
    // ES_WANTRETURN keeps Enter in the read-only box: nothing happens.
    {"AgreementEnterInTextBox", AGREEMENT, Action::ENTER_IN_TEXT_BOX, Result::STAYS},
};

class PageEnding : public PageTest, public ::testing::WithParamInterface<PageAction> {};

TEST_P(PageEnding, ByKeyOrClick)
{
    const PageAction &row = GetParam();
    HWND page = Open(row.page);
    ASSERT_TRUE(page);
    HWND edit = GetDlgItem(page, IDC_PAGETEXT);
    switch (row.action) {
    case Action::CLICK_EXIT: driver::Click(GetDlgItem(page, IDCANCEL)); break;
    case Action::CLICK_NEXT: driver::Click(GetDlgItem(page, IDOK)); break;
    case Action::ALT_E: driver::PressAltKey(page, 'E'); break;
    case Action::ALT_N: driver::PressAltKey(page, 'N'); break;
    case Action::ESCAPE: driver::PressKey(page, VK_ESCAPE); break;
    case Action::ENTER_ON_EXIT:
    case Action::ENTER_ON_NEXT:
        FocusTextBox(page);
        driver::PressKey(page, VK_TAB);
        if (row.action == Action::ENTER_ON_NEXT)
            driver::PressKey(page, VK_TAB);
        ASSERT_EQ(driver::FocusOf(page), GetDlgItem(page, row.action == Action::ENTER_ON_EXIT ? IDCANCEL : IDOK));
        driver::PressKey(page, VK_RETURN);
        break;
    case Action::ENTER_IN_TEXT_BOX:
        FocusTextBox(page);
        ASSERT_EQ(driver::FocusOf(page), edit);
        driver::PressKey(page, VK_RETURN);
        break;
    }

    switch (row.result) {
    case Result::ENDS:
        EXPECT_EQ(ExitCodeWithoutAgreementPage(), 0xFFFFFFFFu);
        EXPECT_EQ(setup_.ProcessCount(), 1u);
        break;
    case Result::GOES_ON:
        if (row.page == README) {
            HWND agreement = Ready(driver::WaitForWindow(setup_.Id(), AGREEMENT_CAPTION, 5000));
            ASSERT_TRUE(agreement) << "the agreement page did not follow";
            EXPECT_FALSE(IsWindowVisible(page));
            driver::PressKey(agreement, VK_ESCAPE);
            EXPECT_EQ(setup_.WaitForExit(10000), 0xFFFFFFFFu);
        } else {
            ExpectAccepted();
        }
        break;
    case Result::STAYS:
        Sleep(200);  // room for a wrongly sent IDOK to end the page
        driver::Settle(page);
        EXPECT_TRUE(IsWindowVisible(page));
        EXPECT_FALSE(setup_.Ended());
        EXPECT_EQ(driver::WindowText(edit), PageText(row.page));
        EXPECT_EQ(driver::FocusOf(page), edit);
        driver::PressAltKey(page, 'N');
        ExpectAccepted();
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Page, PageEnding, ::testing::ValuesIn(PAGE_ACTIONS),
                         [](const ::testing::TestParamInfo<PageAction> &info) { return std::string(info.param.name); });

class PageFocus : public PageTest, public ::testing::WithParamInterface<PageId> {};

// Tab goes text box, Exit, Next and round again; Shift+Tab the other way.
// Whenever the text box gets the focus its text is unselected, the caret at
// the start; the user can still select afterwards.
TEST_P(PageFocus, TabOrderAndSelection)
{
    HWND page = Open(GetParam());
    ASSERT_TRUE(page);
    HWND edit = GetDlgItem(page, IDC_PAGETEXT), exitButton = GetDlgItem(page, IDCANCEL), next = GetDlgItem(page, IDOK);
    FocusTextBox(page);
    ASSERT_EQ(driver::FocusOf(page), edit);

    driver::PressShiftKey(page, VK_END);
    Selection selected = SelectionOf(edit);
    EXPECT_EQ(selected.start, 0u);
    EXPECT_GT(selected.end, 0u) << "Shift+End selects in the text box";

    const struct {
        bool shift;
        HWND expected;
    } steps[] = {{false, exitButton}, {false, next}, {false, edit}, {true, next}, {true, exitButton}, {true, edit}};
    for (const auto &step : steps) {
        if (step.shift)
            driver::PressShiftKey(page, VK_TAB);
        else
            driver::PressKey(page, VK_TAB);
        ASSERT_EQ(driver::FocusOf(page), step.expected) << (step.shift ? "Shift+Tab" : "Tab");
        if (step.expected == edit) {
            EXPECT_EQ(SelectionOf(edit), (Selection{0, 0}));
            EXPECT_EQ(FirstVisibleLine(edit), 0);
        }
    }
    driver::PressKey(page, VK_ESCAPE);
    EXPECT_EQ(setup_.WaitForExit(10000), 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(Page, PageFocus, ::testing::Values(README, AGREEMENT),
                         [](const ::testing::TestParamInfo<PageId> &info) {
                             return std::string(info.param == README ? "Readme" : "Agreement");
                         });

// Each Page Down moves the caret one page (as many lines as the box shows)
// further, and the text scrolls along so the caret stays in view; the first
// one does not jump to the end. (Wine's edit control scrolls just far enough
// to show the caret: one line on the first press, a page on each after.)
TEST_F(PageTest, PageDownOnAgreementGoesOnePageOn)
{
    HWND page = Open(AGREEMENT);
    ASSERT_TRUE(page);
    HWND edit = GetDlgItem(page, IDC_PAGETEXT);
    ASSERT_EQ(driver::FocusOf(page), edit) << "the agreement page opens with the focus in its text box";
    RECT client;
    GetClientRect(edit, &client);
    int lineTop0 = HIWORD(SendMessageA(edit, EM_POSFROMCHAR, SendMessageA(edit, EM_LINEINDEX, 0, 0), 0));
    int lineTop1 = HIWORD(SendMessageA(edit, EM_POSFROMCHAR, SendMessageA(edit, EM_LINEINDEX, 1, 0), 0));
    int lineHeight = lineTop1 - lineTop0;
    ASSERT_GT(lineHeight, 0);
    LRESULT pageLines = client.bottom / lineHeight;
    LRESULT lines = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
    ASSERT_GT(lines, 4 * pageLines) << "the agreement is several pages long";

    for (int press = 1; press <= 3; ++press) {
        SCOPED_TRACE("Page Down " + std::to_string(press));
        driver::PressKey(page, VK_NEXT);
        Selection caret = SelectionOf(edit);
        EXPECT_EQ(caret.start, caret.end) << "nothing selected";
        LRESULT caretLine = SendMessageA(edit, EM_LINEFROMCHAR, caret.start, 0);
        LRESULT first = FirstVisibleLine(edit);
        EXPECT_EQ(caretLine, press * pageLines);
        EXPECT_LE(first, caretLine);
        EXPECT_LT(caretLine, first + pageLines) << "the caret is in view";
        EXPECT_GT(first, 0);
    }
    EXPECT_LT(FirstVisibleLine(edit), lines - pageLines) << "not at the end";
    driver::PressKey(page, VK_ESCAPE);
    EXPECT_EQ(setup_.WaitForExit(10000), 0xFFFFFFFFu);
}

// Without page texts the boxes stay empty and the pages still work.
TEST_F(PageTest, WithoutPageTextsBoxesStayEmpty)
{
    HWND readme = Open(README, VariantSetup("no_page_texts"));
    ASSERT_TRUE(readme);
    EXPECT_EQ(driver::WindowText(GetDlgItem(readme, IDC_PAGETEXT)), "");
    driver::PressAltKey(readme, 'N');
    HWND agreement = Ready(driver::WaitForWindow(setup_.Id(), AGREEMENT_CAPTION));
    ASSERT_TRUE(agreement);
    EXPECT_EQ(driver::WindowText(GetDlgItem(agreement, IDC_PAGETEXT)), "");
    driver::PressAltKey(agreement, 'N');
    ExpectAccepted();
}

}  // namespace
}  // namespace e2e
