#include "setup.h"
#include "../pages/pages.h"

HINSTANCE g_hInstance;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    g_hInstance = hInstance;
    // A page that could not be shown (-1) is no more an acceptance than Exit.
    if (ShowReadmePage() != 1)
        return -1;
    if (ShowAgreementPage() != 1)
        return -1;
    RunInstall();
    return 0;
}
