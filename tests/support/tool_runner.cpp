#include "tests/support/tool_runner.h"

#include <cstdlib>
#include <sys/wait.h>

namespace {

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
    result.out = capture.Read("out");
    result.err = capture.Read("err");
    return result;
}
