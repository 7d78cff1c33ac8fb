#pragma once

#include <string>

#include "bridge/folder_placeholders.h"

// SHGetKnownFolderPath for the current user with default flags, in UTF-8;
// empty when the system has no such folder.
std::string KnownFolderPathWin32(KnownFolder folder);
