// Stands in for the Application Manager in the 32-bit smoke run: writes the
// whole command line it was started with, byte for byte, into
// "<own name>.record" beside itself, then ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char recordPath[MAX_PATH + 16];
    DWORD length = GetModuleFileNameA(NULL, recordPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;
    char partialPath[MAX_PATH + 24];
    lstrcpyA(recordPath + length, ".record");
    lstrcpyA(partialPath, recordPath);
    lstrcatA(partialPath, ".partial");

    // Written under another name first, so whoever waits for the record
    // never reads half of it.
    const char *commandLine = GetCommandLineA();
    HANDLE file = CreateFileA(partialPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD size = lstrlenA(commandLine);
    DWORD written = 0;
    BOOL ok = WriteFile(file, commandLine, size, &written, NULL) && written == size;
    CloseHandle(file);
    if (!ok || !MoveFileExA(partialPath, recordPath, MOVEFILE_REPLACE_EXISTING))
        return 4;
    return 0;
}
