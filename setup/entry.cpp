// The process entry: no C runtime, so the executable imports only system DLLs.
#include "setup.h"

typedef BOOL(WINAPI *SetDefaultDllDirectoriesProc)(DWORD);
typedef BOOL(WINAPI *SetDllDirectoryProc)(LPCSTR);

// A setup program is often started from a downloads folder: never load a DLL
// that was dropped beside it. Looked up at run time, since older systems
// lack these calls and must still start.
static void LoadDllsFromSystemFolderOnly()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel)
        return;
    SetDefaultDllDirectoriesProc setDefault = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void *>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    SetDllDirectoryProc setDirectory = reinterpret_cast<SetDllDirectoryProc>(
        reinterpret_cast<void *>(GetProcAddress(kernel, "SetDllDirectoryA")));
    if (setDirectory)
        setDirectory("");
}

extern "C" void __cdecl SetupEntry()
{
    LoadDllsFromSystemFolderOnly();
    // Setup reads no command line and keeps no show state.
    char noCommandLine[] = "";
    ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(NULL), NULL, noCommandLine, SW_SHOWDEFAULT)));
}
