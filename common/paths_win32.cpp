#include "common/paths_win32.h"

#include <mutex>
#include <vector>

#include <pathcch.h>
#include <shlobj.h>

#include "common/long_path.h"

std::wstring PlatformPath(const std::string& path)
{
    return ToLongPath(Utf8ToWide(path));
}

std::string GetExecutablePath()
{
    static std::once_flag once;
    static std::string cached;
    std::call_once(once, [] {
        const DWORD capacity = 32767;
        std::vector<wchar_t> module(capacity, L'\0');
        std::vector<wchar_t> canonical(capacity, L'\0');
        GetModuleFileNameW(nullptr, module.data(), capacity);
        PathCchCanonicalizeEx(canonical.data(), capacity, module.data(), PATHCCH_ALLOW_LONG_PATHS);
        cached = WideToUtf8(StripLongPathPrefix(canonical.data()));
    });
    return cached;
}

std::string ExecutableFolder()
{
    std::string path = GetExecutablePath();
    std::string::size_type slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

std::string GetKnownFolderPath(const KNOWNFOLDERID& folder)
{
    PWSTR path = nullptr;
    HRESULT hr = SHGetKnownFolderPath(folder, KF_FLAG_DEFAULT, nullptr, &path);
    std::string result;
    if (SUCCEEDED(hr) && path)
        result = WideToUtf8(StripLongPathPrefix(path));
    CoTaskMemFree(path);
    return result;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesW(PlatformPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
