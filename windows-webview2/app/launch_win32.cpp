#include "app/launch_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "common/text_win32.h"

Launch LaunchOfThisProcess()
{
    Launch launch;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words) {
        for (int i = 1; i < count; ++i)
            launch.arguments.push_back(WideToUtf8(words[i]));
        LocalFree(words);
    }
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    launch.underWine = ntdll && GetProcAddress(ntdll, "wine_get_version");
    return launch;
}
