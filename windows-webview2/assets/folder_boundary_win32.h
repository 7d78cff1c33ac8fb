#pragma once

#include <windows.h>

#include <string>

// Whether the file open at handle really lies inside folder (a path ending
// with a separator): both are compared by their final paths, after every
// link, junction and short name is resolved, so that nothing inside the
// folder can lead out of it.
bool LiesInsideFolder(HANDLE file, const std::string& folder);

// Opens a file or folder for questions about it (attributes, final path),
// sharing it with everyone; INVALID_HANDLE_VALUE when it cannot be opened.
HANDLE OpenForQuery(const std::string& path);
