#pragma once

#include <string>

// The "\\?\" rules for every file path the host hands to the platform. They
// work on code units only, so they serve UTF-16 on Windows and are tested
// natively on wide strings of any width.

// A full drive path gets "\\?\" and a network path "\\server\share\..."
// gets "\\?\UNC\server\share\..."; paths already in a device form ("\\?\",
// "\\.\") and relative paths are left as they are. Slashes become
// backslashes first, as Windows itself reads them.
std::wstring ToLongPath(const std::wstring& path);
// The inverse for the two forms ToLongPath makes; any other path comes back
// unchanged.
std::wstring StripLongPathPrefix(const std::wstring& path);
// For the calls not documented to take the "\\?\" form (library loading,
// a process's application name, GDI+ file loading, the URL download
// target): the plain full path while it fits in MAX_PATH, the long form
// only beyond it.
std::wstring ToCompatiblePath(const std::wstring& path);
