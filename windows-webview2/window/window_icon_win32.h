#pragma once

#include <windows.h>

#include <string>

// An icon from any image file GDI+ decodes, or null. GDI+ must be started.
HICON LoadIconFromFile(const std::string& path);
