// Stands in for the Application Manager: notes the moment it starts and ends.
// The first thing it does is read the performance counter, which is one clock
// for every process of the session, so the benchmark can set the moment
// against its own readings. No C runtime, so nothing runs before the entry.
#include <windows.h>

extern "C" void __cdecl SetupEntry()
{
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("SETUP_BENCH_START_FILE", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        ExitProcess(2);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        ExitProcess(3);
    DWORD written = 0;
    BOOL complete = WriteFile(file, &started, sizeof started, &written, NULL) && written == sizeof started;
    CloseHandle(file);
    ExitProcess(complete ? 0 : 4);
}
