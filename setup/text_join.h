#pragma once
#include <windows.h>

// Appends text to the NUL-terminated text in a buffer of bufferSize bytes.
// Returns FALSE, leaving the buffer unchanged, when the result would not fit.
BOOL AppendText(char *buffer, int bufferSize, const char *text);
