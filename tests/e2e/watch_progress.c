/* Watches the installer's progress window from another process: its
 * caption, every bar position it sees (PBM_GETPOS) and, with "close", closes
 * the window half-way through the download. Saves one screenshot of the
 * window as a BMP once the bar has moved. Usage:
 *   watch_progress <result file> <screenshot.bmp> watch|close */
#include <stdio.h>
#include <string.h>
#include <windows.h>
#include <commctrl.h>

static void SaveScreenshot(HWND window, const WCHAR* path)
{
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {0};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    DWORD size = (DWORD)width * (DWORD)height * 4;
    BITMAPFILEHEADER file = {0};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + size;
    FILE* out = _wfopen(path, L"wb");
    if (out) {
        fwrite(&file, sizeof(file), 1, out);
        fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out);
        fwrite(bits, 1, size, out);
        fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}

int wmain(int argc, WCHAR** argv)
{
    if (argc < 4)
        return 2;
    BOOL closeHalfWay = wcscmp(argv[3], L"close") == 0, seen = FALSE, shot = FALSE;
    int closedAt = -1;
    char positions[4096] = "";
    WCHAR caption[256] = L"";
    int last = -1;
    for (DWORD started = GetTickCount(); GetTickCount() - started < 60000;) {
        HWND window = FindWindowW(L"WebView2Setup", NULL);
        if (!window) {
            if (seen)
                break;
            Sleep(20);
            continue;
        }
        seen = TRUE;
        GetWindowTextW(window, caption, 256);
        HWND bar = FindWindowExW(window, NULL, PROGRESS_CLASSW, NULL);
        DWORD_PTR position = 0;
        if (!bar || !SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 1000, &position))
            continue;
        if ((int)position != last && strlen(positions) < sizeof positions - 8) {
            last = (int)position;
            sprintf(positions + strlen(positions), " %d", last);
        }
        if (!shot && last >= 30) {
            SaveScreenshot(window, argv[2]);
            shot = TRUE;
        }
        if (closeHalfWay && closedAt < 0 && last > 0 && last < 100) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            closedAt = last;
        }
    }
    FILE* out = _wfopen(argv[1], L"wb");
    if (!out)
        return 3;
    char utf8[1024];
    WideCharToMultiByte(CP_UTF8, 0, caption, -1, utf8, sizeof utf8, NULL, NULL);
    fprintf(out, "seen=%d\ncaption=%s\npositions=%s\nclosed=%d\nshot=%d\n", seen, utf8, positions, closedAt, shot);
    fclose(out);
    return 0;
}
