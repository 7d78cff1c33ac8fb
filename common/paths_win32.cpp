#include "common/paths_win32.h"

#include <vector>

#include <pathcch.h>
#include <shlobj.h>

#include "common/long_path.h"

std::wstring PlatformPath(const std::string& path)
{
    return ToLongPath(Utf8ToWide(path));
}

std::wstring CompatiblePlatformPath(const std::string& path)
{
    return ToCompatiblePath(Utf8ToWide(path));
}

std::string GetExecutablePath()
{
    // Found once; a static's initialisation is safe from any thread (and,
    // unlike std::call_once, brings no system_error machinery along).
    static const std::string cached = [] {
        const DWORD capacity = 32767;
        std::vector<wchar_t> module(capacity, L'\0');
        std::vector<wchar_t> canonical(capacity, L'\0');
        GetModuleFileNameW(nullptr, module.data(), capacity);
        PathCchCanonicalizeEx(canonical.data(), capacity, module.data(), PATHCCH_ALLOW_LONG_PATHS);
        return WideToUtf8(StripLongPathPrefix(canonical.data()));
    }();
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
