#include "text_join.h"

BOOL AppendText(char *buffer, int bufferSize, const char *text)
{
    if (lstrlenA(buffer) + lstrlenA(text) >= bufferSize)
        return FALSE;
    lstrcatA(buffer, text);
    return TRUE;
}
