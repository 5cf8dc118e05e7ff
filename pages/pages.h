// The readme and agreement pages: modal, each ending with 1 for Next and 0 otherwise.
#pragma once
#include <windows.h>

INT_PTR ShowReadmePage();
INT_PTR ShowAgreementPage();
INT_PTR CALLBACK ReadmePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AgreementPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
