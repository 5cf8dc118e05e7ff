#include "pages.h"
#include "page_colors.h"
#include "../package/package.h"

static INT_PTR ShowPage(UINT templateId, DLGPROC proc)
{
    INT_PTR result = DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(templateId), NULL, proc, 0);
    // The page's window is gone once the modal call returns.
    ReleasePageBrush();
    return result;
}

INT_PTR ShowReadmePage()
{
    return ShowPage(IDD_README, ReadmePageProc);
}

INT_PTR ShowAgreementPage()
{
    return ShowPage(IDD_AGREEMENT, AgreementPageProc);
}
