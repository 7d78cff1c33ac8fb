#include "tests/support/tool_runner.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <vector>
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
    return RunToolAfter("", args);
}

ToolResult RunToolAfter(const std::string& shellPrefix, const std::vector<std::string>& args)
{
    TempFolder capture;
    std::string command = shellPrefix + " " + Quote(VELMORA_TOOL);
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

int StartTool(const std::vector<std::string>& args)
{
    std::vector<char*> argv {const_cast<char*>(VELMORA_TOOL)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    posix_spawn(&pid, VELMORA_TOOL, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}
