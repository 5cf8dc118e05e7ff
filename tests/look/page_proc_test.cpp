// The page procedures' colour answers, asked directly: the program's own
// procedures and brush code run in this process on the real page templates
// (bound in from the program's resource scripts).
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "pages.h"
#include "page_colors.h"

// The pages read their texts and templates through it.
HINSTANCE g_hInstance = GetModuleHandleA(NULL);

namespace {

const COLORREF kPageColour = RGB(0, 127, 190);
const COLORREF kOtherText = RGB(1, 2, 3), kOtherBack = RGB(4, 5, 6);
const UINT kAnswered[] = {WM_CTLCOLOREDIT, WM_CTLCOLORBTN, WM_CTLCOLORDLG, WM_CTLCOLORSTATIC};
const UINT kNotAnswered[] = {WM_CTLCOLORLISTBOX, WM_CTLCOLORSCROLLBAR};

struct Procedure {
    const char *name;
    UINT templateId;
    DLGPROC proc;
};

void PrintTo(const Procedure &p, std::ostream *out) { *out << p.name << " page procedure"; }

class PageProcedure : public testing::TestWithParam<Procedure> {
protected:
    void SetUp() override
    {
        page_ = CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(GetParam().templateId), NULL, GetParam().proc, 0);
        ASSERT_TRUE(page_) << "the page template";
        dc_ = GetDC(page_);
        windows_.push_back(page_);
        for (HWND child = GetWindow(page_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            windows_.push_back(child);
        ASSERT_EQ(windows_.size(), 9u) << "the page and its eight controls";
    }
    void TearDown() override
    {
        if (dc_)
            ReleaseDC(page_, dc_);
        if (page_)
            DestroyWindow(page_);
        ReleasePageBrush();
    }
    // The procedure's answer to a colour message about window, after putting
    // other colours into the device context.
    INT_PTR Ask(UINT message, HWND window)
    {
        SetTextColor(dc_, kOtherText);
        SetBkColor(dc_, kOtherBack);
        return GetParam().proc(page_, message, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(window));
    }
    HWND TextBox() const { return GetDlgItem(page_, 6); }

    HWND page_ = NULL;
    HDC dc_ = NULL;
    std::vector<HWND> windows_;  // the page, then its controls
};

testing::AssertionResult IsPageBrush(HBRUSH brush)
{
    LOGBRUSH info = {};
    if (GetObjectType(brush) != OBJ_BRUSH || !GetObjectA(brush, sizeof info, &info))
        return testing::AssertionFailure() << "not a brush";
    if (info.lbStyle != BS_SOLID || info.lbColor != kPageColour)
        return testing::AssertionFailure() << "style " << info.lbStyle << ", colour " << std::hex << info.lbColor;
    return testing::AssertionSuccess();
}

TEST_P(PageProcedure, AnswersEveryColourMessageWithOneBrushAndBlackOnPageColour)
{
    int bkMode = GetBkMode(dc_);
    UINT align = GetTextAlign(dc_);
    HGDIOBJ font = GetCurrentObject(dc_, OBJ_FONT), brush = GetCurrentObject(dc_, OBJ_BRUSH), pen = GetCurrentObject(dc_, OBJ_PEN);

    INT_PTR first = 0;
    int asked = 0;
    for (int round = 0; round < 200; ++round)
        for (UINT message : kAnswered)
            for (HWND window : windows_) {
                INT_PTR answer = Ask(message, window);
                ++asked;
                ASSERT_NE(answer, 0) << "message " << std::hex << message;
                if (!first)
                    first = answer;
                ASSERT_EQ(answer, first) << "message " << std::hex << message << " in round " << std::dec << round;
                ASSERT_EQ(GetTextColor(dc_), RGB(0, 0, 0)) << "black text";
                ASSERT_EQ(GetBkColor(dc_), kPageColour) << "on the page colour";
            }
    EXPECT_TRUE(IsPageBrush(reinterpret_cast<HBRUSH>(first)));
    EXPECT_EQ(asked, 200 * 4 * 9);

    // Nothing else of the device context changes.
    EXPECT_EQ(GetBkMode(dc_), bkMode);
    EXPECT_EQ(GetTextAlign(dc_), align);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen);
}

TEST_P(PageProcedure, LeavesListBoxAndScrollBarColourMessagesUnanswered)
{
    for (UINT message : kNotAnswered) {
        EXPECT_EQ(Ask(message, TextBox()), 0) << "before the page has a brush, message " << std::hex << message;
        EXPECT_EQ(GetTextColor(dc_), kOtherText);
        EXPECT_EQ(GetBkColor(dc_), kOtherBack);
    }
    HBRUSH brush = reinterpret_cast<HBRUSH>(Ask(WM_CTLCOLORSTATIC, TextBox()));
    ASSERT_TRUE(IsPageBrush(brush));
    for (UINT message : kNotAnswered)
        for (HWND window : windows_) {
            EXPECT_EQ(Ask(message, window), 0) << "message " << std::hex << message;
            EXPECT_EQ(GetTextColor(dc_), kOtherText) << "the device context is left alone";
            EXPECT_EQ(GetBkColor(dc_), kOtherBack);
        }
    EXPECT_TRUE(IsPageBrush(brush)) << "the brush is untouched";
    EXPECT_EQ(Ask(WM_CTLCOLORSTATIC, TextBox()), reinterpret_cast<INT_PTR>(brush));
}

TEST_P(PageProcedure, ReleasePageBrushDeletesTheBrushAndTheNextPageMakesItsOwn)
{
    HBRUSH first = reinterpret_cast<HBRUSH>(Ask(WM_CTLCOLORDLG, page_));
    ASSERT_TRUE(IsPageBrush(first));
    ReleasePageBrush();
    EXPECT_EQ(GetObjectType(first), 0u) << "deleted";

    // The next page, here the same template again, answers with a live brush of its own.
    HBRUSH second = reinterpret_cast<HBRUSH>(Ask(WM_CTLCOLORSTATIC, TextBox()));
    EXPECT_TRUE(IsPageBrush(second));
    EXPECT_EQ(Ask(WM_CTLCOLORBTN, GetDlgItem(page_, IDOK)), reinterpret_cast<INT_PTR>(second));
    ReleasePageBrush();
    EXPECT_EQ(GetObjectType(second), 0u);
    ReleasePageBrush();  // with no brush held: nothing to do
    EXPECT_TRUE(IsPageBrush(reinterpret_cast<HBRUSH>(Ask(WM_CTLCOLOREDIT, TextBox()))));
}

TEST_P(PageProcedure, WithoutABrushAnswersFalseAndRecoversOnceOneCanBeMade)
{
    // Fill the process's GDI handle table so that no brush can be made.
    std::vector<HBRUSH> hoard;
    for (HBRUSH made; hoard.size() < 1000000 && (made = CreateSolidBrush(RGB(9, 9, 9))) != NULL;)
        hoard.push_back(made);
    ASSERT_LT(hoard.size(), 1000000u) << "the GDI handle table did not fill up";
    INT_PTR answer = Ask(WM_CTLCOLORSTATIC, TextBox());
    INT_PTR dialog = Ask(WM_CTLCOLORDLG, page_);
    for (HBRUSH made : hoard)
        DeleteObject(made);
    EXPECT_EQ(answer, 0) << "answered with " << std::hex << answer << " though no brush could be made";
    EXPECT_EQ(dialog, 0);

    EXPECT_TRUE(IsPageBrush(reinterpret_cast<HBRUSH>(Ask(WM_CTLCOLORSTATIC, TextBox())))) << "a brush once one can be made";
}

INSTANTIATE_TEST_SUITE_P(BothPages, PageProcedure,
                         testing::Values(Procedure{"Readme", 1, ReadmePageProc}, Procedure{"Agreement", 2, AgreementPageProc}),
                         [](const testing::TestParamInfo<Procedure> &info) { return std::string(info.param.name); });

}  // namespace
