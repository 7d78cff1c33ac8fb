#include "tools/velmora-tool/code_signing.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "tools/velmora-tool/export_plan.h"

namespace fs = std::filesystem;

namespace {

const char* const Signer = "osslsigncode";
// 1980-01-01, the time the zip's entries carry too.
const char* const FixedSigningTime = "315532800";

bool SignerFound()
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (size_t from = 0; from <= folders.size();) {
        size_t colon = folders.find(':', from);
        std::string folder = folders.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        if (!folder.empty() && access((folder + "/" + Signer).c_str(), X_OK) == 0)
            return true;
        if (colon == std::string::npos)
            break;
        from = colon + 1;
    }
    return false;
}

// Runs the signer with the password on its standard input; its exit code,
// and what it said on its outputs.
int RunSigner(const std::vector<std::string>& args, const std::string& input, std::string& said)
{
    int toSigner[2], fromSigner[2];
    if (pipe(toSigner) != 0 || pipe(fromSigner) != 0)
        throw ExportError(std::string("cannot start ") + Signer + ": " + std::strerror(errno));
    pid_t pid = fork();
    if (pid == 0) {
        dup2(toSigner[0], 0);
        dup2(fromSigner[1], 1);
        dup2(fromSigner[1], 2);
        close(toSigner[1]);
        close(fromSigner[0]);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(toSigner[0]);
    close(fromSigner[1]);
    // The password is short: it fits the pipe, so writing cannot block.
    ssize_t ignored = write(toSigner[1], input.data(), input.size());
    (void)ignored;
    close(toSigner[1]);
    char buffer[4096];
    for (ssize_t got; (got = read(fromSigner[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        said.append(buffer, static_cast<size_t>(got));
    }
    close(fromSigner[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The signer's last words, which hold its reason.
std::string Reason(const std::string& said)
{
    std::string text = said;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.empty() ? "no reason given" : text;
}

}

void CheckSigning(const SigningOptions& options)
{
    if (!SignerFound())
        throw ExportError(std::string("signing needs ") + Signer + ", which is not installed (Debian package osslsigncode)");
    std::ifstream certificate(options.certificate, std::ios::binary);
    if (!certificate || !fs::is_regular_file(options.certificate))
        throw ExportError("cannot read the certificate " + options.certificate);
}

void SignProgram(const SigningOptions& options, const fs::path& program)
{
    fs::path signedCopy = program.string() + ".signed";
    std::vector<std::string> args = {Signer, "sign", "-pkcs12", options.certificate, "-readpass", "-", "-h", "sha256",
        "-time", FixedSigningTime};
    if (!options.timestampUrl.empty()) {
        args.push_back("-ts");
        args.push_back(options.timestampUrl);
    }
    args.insert(args.end(), {"-in", program.string(), "-out", signedCopy.string()});
    std::string said;
    if (RunSigner(args, options.password, said) != 0) {
        std::error_code ignored;
        fs::remove(signedCopy, ignored);
        throw ExportError("cannot sign " + program.filename().string() + ": " + Reason(said));
    }
    fs::rename(signedCopy, program);
}
