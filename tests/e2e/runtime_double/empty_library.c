/* Test fixture: a DLL that exports nothing, standing in for a damaged or
 * foreign WebView2Loader.dll. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
