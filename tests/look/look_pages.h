// What the look tests share: the program under test, its two pages and how
// to reach them, and the page's controls in template order.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "driver.h"

namespace look {

// The blue of the pages, written out here so that a wrong value in the
// program shows.
const COLORREF kPageColour = RGB(0, 127, 190);
const COLORREF kBlack = RGB(0, 0, 0);

inline std::string SetupExe() { return driver::WinePath(SETUP_EXE); }

struct Page {
    const char *name;
    UINT templateId;
    const char *caption;
    bool afterReadme;  // reached with Next on the readme page
};

const Page kReadme = {"Readme", 1, "Zentrobel FULL VERSION - Welcome", false};
const Page kAgreement = {"Agreement", 2, "Zentrobel FULL VERSION - End User License Agreement", true};

inline std::string PageName(const testing::TestParamInfo<Page> &info) { return info.param.name; }
inline void PrintTo(const Page &page, std::ostream *out) { *out << page.name << " page"; }

// Starts setup and brings it to the page; NULL when the page did not come.
inline HWND OpenPage(driver::Process &setup, const Page &page)
{
    if (!setup.Start(SetupExe()))
        return NULL;
    HWND readme = driver::WaitForWindow(setup.Id(), kReadme.caption);
    if (!readme || !page.afterReadme)
        return readme;
    // What a click on Next sends; the look tests do not test the input path.
    HWND next = GetDlgItem(readme, IDOK);
    PostMessageA(readme, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(next));
    return driver::WaitForWindow(setup.Id(), page.caption);
}

// The caret of the window's thread in the window's client coordinates, a
// little enlarged (Wine draws it by inverting and it blinks), or an empty
// rectangle.
inline RECT CaretIn(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    RECT caret = {};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) && info.hwndCaret && !IsRectEmpty(&info.rcCaret)) {
        caret = info.rcCaret;
        MapWindowPoints(info.hwndCaret, window, reinterpret_cast<POINT *>(&caret), 2);
        InflateRect(&caret, 1, 1);
    }
    return caret;
}

// Waits a while; a window of this thread gets its messages handled meanwhile.
inline void PauseFor(HWND window, DWORD ms)
{
    if (GetWindowThreadProcessId(window, NULL) != GetCurrentThreadId()) {
        Sleep(ms);
        return;
    }
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
}

// The window's client area as it stands on the screen once its painting is
// done: the window's thread has handled its messages and two reads a moment
// apart agree (Wine puts a window's drawing on the screen a little later).
// The caret is left out of the comparison.
inline driver::PixelBlock SettledClientPixels(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    driver::Settle(window);
    PauseFor(window, 200);
    driver::PixelBlock last = driver::ClientPixels(window, client);
    for (int attempt = 0; attempt < 30; ++attempt) {
        PauseFor(window, 150);
        driver::Settle(window);
        driver::PixelBlock now = driver::ClientPixels(window, client);
        RECT caret = CaretIn(window);
        bool same = now.pixels.size() == last.pixels.size();
        for (int y = client.top; same && y < client.bottom; ++y)
            for (int x = client.left; same && x < client.right; ++x)
                same = now.At(x, y) == last.At(x, y) || PtInRect(&caret, POINT{x, y});
        if (same)
            return now;
        last = now;
    }
    return last;
}

// The page's controls in the order the dialog manager made them from the template.
inline std::vector<HWND> ControlsInTemplateOrder(HWND page)
{
    std::vector<HWND> controls;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    return controls;
}

// A control's client area in its page's client coordinates.
inline RECT ClientAreaInPage(HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    MapWindowPoints(control, GetParent(control), reinterpret_cast<POINT *>(&client), 2);
    return client;
}

inline std::string ColourText(COLORREF colour)
{
    char text[32];
    wsprintfA(text, "RGB(%d,%d,%d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

}  // namespace look
