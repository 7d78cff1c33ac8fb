#include "tools/velmora-tool/shipping/helper_process.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/velmora-tool/shipping/code_signing.h"
#include "tools/velmora-tool/export/export_plan.h"
#include "tools/velmora-tool/export/interruption.h"

bool ProgramFound(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (size_t from = 0; from <= folders.size();) {
        size_t colon = folders.find(':', from);
        std::string folder = folders.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0)
            return true;
        if (colon == std::string::npos)
            break;
        from = colon + 1;
    }
    return false;
}

int RunHelper(const std::vector<std::string>& args, const std::string& input, std::string& said,
    const std::function<void(const std::string&)>& heard)
{
    int toHelper[2], fromHelper[2];
    if (pipe(toHelper) != 0 || pipe(fromHelper) != 0)
        throw ExportError("cannot start " + args[0] + ": " + std::strerror(errno));
    pid_t pid = fork();
    if (pid == 0) {
        dup2(toHelper[0], 0);
        dup2(fromHelper[1], 1);
        dup2(fromHelper[1], 2);
        close(toHelper[1]);
        close(fromHelper[0]);
        // A helper reads the password from its input when it needs it; the
        // environment would hand it to everything the helper runs or writes.
        unsetenv(PasswordVariable);
        // Ended with the tool, however the tool ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(toHelper[0]);
    close(fromHelper[1]);
    // The input is short (a password): it fits the pipe, so writing cannot
    // block; a helper that ended early makes it fail, not the tool.
    ssize_t ignored = write(toHelper[1], input.data(), input.size());
    (void)ignored;
    close(toHelper[1]);
    char buffer[4096];
    for (ssize_t got; (got = read(fromHelper[0], buffer, sizeof buffer)) != 0 && !WasInterrupted();) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        said.append(buffer, static_cast<size_t>(got));
        if (heard)
            heard(said);
    }
    close(fromHelper[0]);
    if (WasInterrupted())
        kill(pid, SIGTERM);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    ThrowIfInterrupted();
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string HelperReason(const std::string& said)
{
    std::string text = said;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::string::size_type from = text.size() > 600 ? text.find('\n', text.size() - 600) : std::string::npos;
    if (from != std::string::npos)
        text = text.substr(from + 1);
    return text.empty() ? "no reason given" : text;
}
