#pragma once

#include <string>

// The folder of the running executable, canonicalised, with its trailing
// backslash (UTF-8).
std::string ToolFolder();
