#pragma once

#include <string>

// UTF-8 <-> UTF-16 at the platform boundary; invalid input becomes U+FFFD.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
