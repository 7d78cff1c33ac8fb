#include "common/long_path.h"

namespace {

const wchar_t LongPathPrefix[] = L"\\\\?\\";
const std::wstring::size_type PrefixLength = 4;

bool HasPrefix(const std::wstring& path)
{
    return path.size() >= PrefixLength && path.compare(0, PrefixLength, LongPathPrefix) == 0;
}

}

std::wstring ToLongPath(const std::wstring& path)
{
    bool needsPrefix = path.size() >= PrefixLength && !HasPrefix(path);
    std::wstring result;
    result.reserve(path.size() + (needsPrefix ? PrefixLength : 0));
    if (needsPrefix)
        result += LongPathPrefix;
    for (wchar_t unit : path)
        result += unit == L'/' ? L'\\' : unit;
    return result;
}

std::wstring StripLongPathPrefix(const std::wstring& path)
{
    return HasPrefix(path) ? path.substr(PrefixLength) : path;
}
