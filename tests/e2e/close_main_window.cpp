// Test helper: waits for the host's main window (hidden or not) and asks it
// to close, as the close box would. Exits 1 if no window turns up in time.
#include <windows.h>

int main()
{
    for (int attempt = 0; attempt < 600; ++attempt) {
        HWND window = FindWindowW(L"WindowsVelmora", nullptr);
        if (window) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
