#include "setup.h"
#include "text_join.h"
#include "../package/package.h"

int ExtractPayload(UINT index, const char *installFolderPath, int *failed)
{
    *failed = 0;
    DWORD size = 0;
    const void *data = GetPayload(index, &size);
    if (!data)
        return 0;

    *failed = 1;
    char fileName[MAX_PATH];
    if (!CopyResourceString(RT_PAYLOADNAME, index, fileName, sizeof fileName))
        return 0;
    char filePath[MAX_PATH];
    lstrcpyA(filePath, installFolderPath);
    if (!AppendText(filePath, sizeof filePath, "\\") || !AppendText(filePath, sizeof filePath, fileName))
        return 0;

    HANDLE file = CreateFileA(filePath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    // One write straight from the mapped resource: the payload is never copied.
    DWORD written = 0;
    BOOL complete = WriteFile(file, data, size, &written, NULL) && written == size;
    CloseHandle(file);
    if (!complete)
        return 0;
    *failed = 0;
    return 1;
}
