#include "pages.h"
#include "page_colors.h"
#include "../package/package.h"

// What sets the two pages apart.
struct PageKind {
    UINT textId;
    BOOL initDialogAnswer;  // TRUE lets the system focus the text box at once
};

static const PageKind README_PAGE = { IDT_README, FALSE };
static const PageKind AGREEMENT_PAGE = { IDT_AGREEMENT, TRUE };

static INT_PTR PageProc(const PageKind &kind, HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(page, IDC_PAGETEXT, GetPageText(kind.textId));
        return kind.initDialogAnswer;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0)
            EndDialog(page, LOWORD(wParam) == IDOK ? 1 : 0);
        else if (HIWORD(wParam) == EN_SETFOCUS)
            // The dialog manager selects the whole text on focus, caret at
            // the end; put the caret back at the start so the text shows from
            // its beginning and Page Down goes one page on.
            SendDlgItemMessageA(page, IDC_PAGETEXT, EM_SETSEL, 0, 0);
        return FALSE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return AnswerPageColorMessage(reinterpret_cast<HDC>(wParam));
    }
    return FALSE;
}

INT_PTR CALLBACK ReadmePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PageProc(README_PAGE, page, message, wParam, lParam);
}

INT_PTR CALLBACK AgreementPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PageProc(AGREEMENT_PAGE, page, message, wParam, lParam);
}
