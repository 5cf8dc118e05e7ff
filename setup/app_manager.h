// The Windows CE Application Manager, as far as setup deals with it.
#pragma once
#include <windows.h>

// Reads the Application Manager's full path from its App Paths key into a
// buffer of MAX_PATH bytes. FALSE when the key or its value is missing,
// unreadable or too long.
BOOL ReadAppManagerPath(char *path);

// Starts exactly the program at path with the given command line, unwatched.
void StartAppManager(const char *path, const char *commandLine);
