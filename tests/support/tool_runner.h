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
// The same through the shell, after a prefix such as "cd <folder> &&" or
// "ulimit -f 64;". A tool ended by a signal gives 128 plus its number.
ToolResult RunToolAfter(const std::string& shellPrefix, const std::vector<std::string>& args);

// Starts the tool without waiting, its output thrown away; the caller
// signals and reaps it (waitpid).
int StartTool(const std::vector<std::string>& args);

