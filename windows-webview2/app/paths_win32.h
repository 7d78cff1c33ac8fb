#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "text_win32.h"

std::string GetExecutablePath();
std::string GetKnownFolderPath(const KNOWNFOLDERID& folder);
bool FileExists(const std::string& path);
// The file's true 64-bit size; 0 when it cannot be examined.
int64_t FileSize(const std::string& path);

// ToLongPath(Utf8ToWide(path)): the form every file function receives.
std::wstring PlatformPath(const std::string& path);
