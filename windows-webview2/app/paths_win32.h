#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

// UTF-8 <-> UTF-16 at the platform boundary; invalid input becomes U+FFFD.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

std::string GetExecutablePath();
std::string GetKnownFolderPath(const KNOWNFOLDERID& folder);
bool FileExists(const std::string& path);
// The file's true 64-bit size; 0 when it cannot be examined.
int64_t FileSize(const std::string& path);

// ToLongPath(Utf8ToWide(path)): the form every file function receives.
std::wstring PlatformPath(const std::string& path);
