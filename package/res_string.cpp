#include "package.h"

const char *ResString::LoadResString(UINT id)
{
    // LoadStringA leaves the buffer alone for an id the table lacks.
    text[0] = '\0';
    LoadStringA(g_hInstance, id, text, sizeof text);
    text[sizeof text - 1] = '\0';
    return text;
}
