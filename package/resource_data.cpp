#include "package.h"

// The running executable's resource (type, id): its mapped data and size.
static const char *FindResourceData(UINT type, UINT id, DWORD *size)
{
    HRSRC found = FindResourceA(NULL, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    if (!found)
        return NULL;
    HGLOBAL loaded = LoadResource(NULL, found);
    if (!loaded)
        return NULL;
    *size = SizeofResource(NULL, found);
    return static_cast<const char *>(LockResource(loaded));
}

static bool HoldsTerminator(const char *data, DWORD size)
{
    for (DWORD i = 0; i < size; ++i)
        if (data[i] == '\0')
            return true;
    return false;
}

const char *GetPageText(UINT id)
{
    DWORD size = 0;
    const char *text = FindResourceData(RT_PAGETEXT, id, &size);
    // The text box reads up to a NUL, so a text without one is never handed out.
    if (!text || !HoldsTerminator(text, size))
        return NULL;
    return text;
}

const void *GetPayload(UINT id, DWORD *size)
{
    DWORD found = 0;
    const char *data = FindResourceData(RT_PAYLOAD, id, &found);
    if (!data)
        return NULL;
    *size = found;
    return data;
}

bool CopyResourceString(UINT type, UINT id, char *destination, UINT limit)
{
    DWORD size = 0;
    const char *text = FindResourceData(type, id, &size);
    if (!text)
        return false;
    for (UINT i = 0; i < limit; ++i) {
        if (i == size)
            break;
        destination[i] = text[i];
        if (text[i] == '\0')
            return true;
    }
    // The text does not fit or has no terminator: callers join names into
    // paths, so a cut name would name the wrong file. Yield an empty text.
    if (limit > 0)
        destination[0] = '\0';
    return false;
}
