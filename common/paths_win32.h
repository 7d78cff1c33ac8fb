#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/text_win32.h"

// The running executable's full, canonical path (long paths allowed).
std::string GetExecutablePath();
// The executable's folder with its trailing backslash.
std::string ExecutableFolder();
std::string GetKnownFolderPath(const KNOWNFOLDERID& folder);
bool FileExists(const std::string& path);

// ToLongPath(Utf8ToWide(path)): the form every file function receives.
std::wstring PlatformPath(const std::string& path);
// ToCompatiblePath(Utf8ToWide(path)): for the few calls not documented to
// take the long form.
std::wstring CompatiblePlatformPath(const std::string& path);
