#include "tool_folder_win32.h"

#include <windows.h>
#include <shlwapi.h>

#include "text_win32.h"

std::string ToolFolder()
{
    wchar_t module[MAX_PATH] = {};
    wchar_t canonical[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (!PathCanonicalizeW(canonical, module))
        lstrcpynW(canonical, module, MAX_PATH);
    std::wstring path = canonical;
    std::wstring::size_type slash = path.rfind(L'\\');
    if (slash != std::wstring::npos)
        path.erase(slash + 1);
    return WideToUtf8(path);
}
