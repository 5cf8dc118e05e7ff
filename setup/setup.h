// The setup sequence: entry, installation and payload extraction.
#pragma once
#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
void RunInstall();
int ExtractPayload(UINT index, const char *installFolderPath, int *failed);
