/* Test fixture: the smallest GUI executable, a stand-in for an exported app. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
