// The least a program can do to show a page: one modal dialog with no
// controls, started and linked the way setup is (own entry, no C runtime),
// so setup's time to its first page can be set against it.
#include <windows.h>

static INT_PTR CALLBACK EmptyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        EndDialog(dialog, LOWORD(wParam));
    return message == WM_INITDIALOG;
}

extern "C" void __cdecl SetupEntry()
{
    ExitProcess(static_cast<UINT>(DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(1), NULL, EmptyDialogProc, 0)));
}
