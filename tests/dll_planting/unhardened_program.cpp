// The control: a program that shows a window like setup does, but leaves the
// DLL search order as the system has it. It shows whether a DLL planted
// beside a program is loaded at all here.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HWND window = CreateWindowExA(0, "STATIC", "control", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    UpdateWindow(window);
    DestroyWindow(window);
    return 0;
}
