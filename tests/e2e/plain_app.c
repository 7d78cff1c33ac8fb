/* Test fixture: the smallest GUI executable, a stand-in for an exported app. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return 0;
}
