#include "tool_runner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Quote(const std::string& arg)
{
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}

ToolResult RunTool(const std::vector<std::string>& args)
{
    TempFolder capture;
    std::string command = Quote(VELMORA_TOOL);
    for (const std::string& arg : args)
        command += " " + Quote(arg);
    command += " >" + Quote(capture.path + "/out") + " 2>" + Quote(capture.path + "/err");
    int status = std::system(command.c_str());
    ToolResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Slurp(capture.path + "/out");
    result.err = Slurp(capture.path + "/err");
    return result;
}
