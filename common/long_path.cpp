#include "common/long_path.h"

#include <string_view>

namespace {

// Literals rather than string objects: nothing to construct at start-up.
const std::wstring_view LongPrefix = L"\\\\?\\";
const std::wstring_view LongUncPrefix = L"\\\\?\\UNC\\";
const std::wstring_view DevicePrefix = L"\\\\.\\";
const std::wstring_view UncPrefix = L"\\\\";
// MAX_PATH counts the terminating NUL.
const std::wstring::size_type MaxPlainLength = 259;

bool StartsWith(const std::wstring& path, std::wstring_view prefix)
{
    return path.compare(0, prefix.size(), prefix) == 0;
}

// "UNC" is matched as the object manager matches names, ignoring case.
bool StartsWithLongUnc(const std::wstring& path)
{
    if (path.size() < LongUncPrefix.size() || !StartsWith(path, LongPrefix) || path[7] != L'\\')
        return false;
    for (std::wstring::size_type i = 4; i < 7; ++i) {
        if ((path[i] | 0x20) != LongUncPrefix[i] + 0x20)
            return false;
    }
    return true;
}

bool IsDriveLetter(wchar_t unit)
{
    return (unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z');
}

// "C:\..." from the start of path at offset.
bool IsFullDrivePath(const std::wstring& path, std::wstring::size_type offset)
{
    return path.size() >= offset + 3 && IsDriveLetter(path[offset]) && path[offset + 1] == L':'
        && path[offset + 2] == L'\\';
}

std::wstring WithBackslashes(std::wstring path)
{
    for (wchar_t& unit : path) {
        if (unit == L'/')
            unit = L'\\';
    }
    return path;
}

}

std::wstring ToLongPath(const std::wstring& path)
{
    std::wstring turned = WithBackslashes(path);
    if (StartsWith(turned, LongPrefix) || StartsWith(turned, DevicePrefix))
        return turned;
    if (StartsWith(turned, UncPrefix))
        return turned.replace(0, UncPrefix.size(), LongUncPrefix);
    if (IsFullDrivePath(turned, 0))
        return turned.insert(0, LongPrefix);
    return turned;
}

std::wstring StripLongPathPrefix(const std::wstring& path)
{
    std::wstring plain = path;
    if (StartsWithLongUnc(path))
        return plain.replace(0, LongUncPrefix.size(), UncPrefix);
    if (StartsWith(path, LongPrefix) && IsFullDrivePath(path, LongPrefix.size()))
        return plain.erase(0, LongPrefix.size());
    return plain;
}

std::wstring ToCompatiblePath(const std::wstring& path)
{
    std::wstring plain = StripLongPathPrefix(WithBackslashes(path));
    return plain.size() <= MaxPlainLength ? plain : ToLongPath(plain);
}
