#include <windows.h>

#include "app/startup_win32.h"

// Hybrid-graphics drivers read these to run the host on the fast GPU.
extern "C" {
__declspec(dllexport) DWORD NvOptimusEnablement = 1;
__declspec(dllexport) DWORD AmdPowerXpressRequestHighPerformance = 1;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return RunHost(instance);
}
