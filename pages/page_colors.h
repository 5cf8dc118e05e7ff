// The pages' look: black text on one blue, with a brush owned by the open page.
#pragma once
#include <windows.h>

#define PAGE_COLOR RGB(0, 127, 190)

// The answer to a WM_CTLCOLOR* message of the open page: its brush, after
// setting the colours of hdc, or FALSE when no brush could be made.
INT_PTR AnswerPageColorMessage(HDC hdc);

// Deletes the open page's brush; called once its window is gone.
void ReleasePageBrush();
