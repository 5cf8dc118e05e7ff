#include "page_colors.h"

// Pages are modal and shown one after the other on the one thread, so the
// brush always belongs to the page that is open; each page makes its own.
static HBRUSH s_pageBrush;

INT_PTR AnswerPageColorMessage(HDC hdc)
{
    if (!s_pageBrush)
        s_pageBrush = CreateSolidBrush(PAGE_COLOR);
    if (!s_pageBrush)
        return FALSE;
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, PAGE_COLOR);
    return reinterpret_cast<INT_PTR>(s_pageBrush);
}

void ReleasePageBrush()
{
    if (s_pageBrush) {
        DeleteObject(s_pageBrush);
        s_pageBrush = NULL;
    }
}
