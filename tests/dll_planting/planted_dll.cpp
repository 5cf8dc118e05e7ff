// A DLL dropped beside a program under a system DLL's name. If it is ever
// loaded it leaves a marker file beside itself.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        char marker[MAX_PATH];
        DWORD length = GetModuleFileNameA(module, marker, MAX_PATH - 16);
        while (length > 0 && marker[length - 1] != '\\')
            --length;
        lstrcpyA(marker + length, "loaded.marker");
        HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    return TRUE;
}
