#include "app_manager.h"

static const char APP_PATHS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE";

BOOL ReadAppManagerPath(char *path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, APP_PATHS_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD size = MAX_PATH;
    LONG status = RegQueryValueExA(key, "", NULL, NULL, reinterpret_cast<BYTE *>(path), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return FALSE;

    // The value's type is not tested, so its data may lack a terminator
    // (binary data, or a string stored without one): end the text ourselves.
    for (DWORD i = 0; i < size; ++i)
        if (path[i] == '\0')
            return TRUE;
    if (size >= MAX_PATH)
        return FALSE;
    path[size] = '\0';
    return TRUE;
}

void StartAppManager(const char *path, const char *commandLine)
{
    // Naming the program outright keeps the system from trying "C:\Program.exe"
    // and the like for an unquoted path with spaces.
    char mutableCommandLine[MAX_PATH];
    lstrcpyA(mutableCommandLine, commandLine);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process;
    if (CreateProcessA(path, mutableCommandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
