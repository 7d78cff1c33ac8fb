/* Stands in for the WebView2 bootstrapper: "installs" the runtime by
 * writing its current directory to the marker file that the test names in
 * VELMORA_TEST_INSTALL_MARKER; the runtime double then answers the version
 * query. The test server sends it padded, which a PE file tolerates. With
 * VELMORA_TEST_BOOTSTRAPPER_HANG set it never ends instead. */
#include <stdio.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)show;
    WCHAR marker[MAX_PATH], folder[MAX_PATH];
    /* A bootstrapper stuck as under Proton. */
    if (GetEnvironmentVariableW(L"VELMORA_TEST_BOOTSTRAPPER_HANG", marker, MAX_PATH))
        Sleep(INFINITE);
    if (!GetEnvironmentVariableW(L"VELMORA_TEST_INSTALL_MARKER", marker, MAX_PATH))
        return 2;
    GetCurrentDirectoryW(MAX_PATH, folder);
    FILE* out = _wfopen(marker, L"wb");
    if (!out)
        return 3;
    char utf8[4 * MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, folder, -1, utf8, sizeof utf8, NULL, NULL);
    char whole[4 * MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, whole, sizeof whole, NULL, NULL);
    fprintf(out, "cwd=%s\ncommandline=[%ls]\nwhole=%s\n", utf8, commandLine, whole);
    fclose(out);
    return 0;
}
