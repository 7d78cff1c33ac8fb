#pragma once

#include <string>

// The "\\?\" rules for every file path the host hands to the platform. They
// work on code units only, so they serve UTF-16 on Windows and are tested
// natively on wide strings of any width.
std::wstring ToLongPath(const std::wstring& path);
std::wstring StripLongPathPrefix(const std::wstring& path);
