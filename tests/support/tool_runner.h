#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

// Runs the built velmora-tool with arguments and captures what it says.
struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolResult RunTool(const std::vector<std::string>& args);

