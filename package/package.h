// Read access to the package: the texts, payloads and names compiled into
// the running executable.
#pragma once
#include <windows.h>
#include "../resources/resource_ids.h"

extern HINSTANCE g_hInstance;

// A message text from the string table, always terminated within its buffer.
struct ResString {
    char text[256];
    const char *LoadResString(UINT id);
};

const char *GetPageText(UINT id);
const void *GetPayload(UINT id, DWORD *size);
bool CopyResourceString(UINT type, UINT id, char *destination, UINT limit);
