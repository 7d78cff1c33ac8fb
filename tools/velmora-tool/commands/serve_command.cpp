#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "assets/bundle_writer.h"
#include "tools/velmora-tool/commands/commands.h"
#include "tools/velmora-tool/export/export_plan.h"
#include "tools/velmora-tool/export/planned_copy.h"
#include "tools/velmora-tool/commands/http_request.h"
#include "tools/velmora-tool/export/posix_file.h"
#include "tools/velmora-tool/commands/served_export.h"

namespace fs = std::filesystem;

namespace {

const size_t MostHeadBytes = 64 * 1024;

// Set by Ctrl-C and SIGTERM; the accept loop ends at the next look.
volatile std::sig_atomic_t stopping = 0;

void Stop(int)
{
    stopping = 1;
}

// An app folder served as its export would be: the plan's files packed into
// a bundle in a temporary folder, removed when the server ends.
struct PackedApp {
    explicit PackedApp(const std::string& appFolder)
    {
        char pattern[] = "/tmp/velmora-serve-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error(std::string("cannot make a temporary folder: ") + std::strerror(errno));
        folder = pattern;
        ExportPlan plan = PlanExport(appFolder, false);
        WriteTextFile(folder + "/package.json", plan.packageText);
        fs::create_directories(folder + "/www");
        WriteBundle(plan.webFiles, folder + "/www/assets.dat", nullptr);
    }
    ~PackedApp()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    PackedApp(const PackedApp&) = delete;
    PackedApp& operator=(const PackedApp&) = delete;
    std::string folder;
};

std::string ReadHead(int connection)
{
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < MostHeadBytes && !stopping) {
        ssize_t got = ReadSome(connection, buffer, sizeof buffer);
        if (got <= 0)
            break;
        head.append(buffer, static_cast<size_t>(got));
    }
    return head;
}

bool SendAll(int connection, const char* bytes, size_t count)
{
    while (count > 0) {
        ssize_t sent = send(connection, bytes, count, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR && !stopping)
            continue;
        if (sent <= 0)
            return false;
        bytes += sent;
        count -= static_cast<size_t>(sent);
    }
    return true;
}

// One request a connection: the host's answer as an HTTP/1.1 response.
void Answer(int connection, const ServedExport& served)
{
    std::optional<HttpRequest> request = ParseHttpRequest(ReadHead(connection));
    if (!request) {
        const char bad[] = "HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n";
        SendAll(connection, bad, sizeof bad - 1);
        return;
    }
    ResourceAnswer answer = served.Answer(request->target.substr(1), request->range ? &*request->range : nullptr);
    std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + answer.reason + "\r\n";
    for (const std::string& line : answer.headers)
        head += line + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (!SendAll(connection, head.data(), head.size()) || request->method == "HEAD")
        return;
    bool open = true;
    served.WriteBody(answer.body, [&](const char* bytes, size_t count) {
        open = open && SendAll(connection, bytes, count);
    });
}

int Listen(uint16_t port)
{
    int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0)
        throw FileFailure("cannot open a socket", "for the server");
    int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    // Only this machine: the preview is for the shipper's own browser.
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 16) != 0) {
        close(listener);
        throw FileFailure("cannot listen on", "127.0.0.1:" + std::to_string(port));
    }
    return listener;
}

uint16_t PortOf(int listener)
{
    sockaddr_in address {};
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

int Serve(const std::string& folder, uint16_t port)
{
    std::unique_ptr<PackedApp> packed;
    std::string served = folder;
    if (!fs::is_directory(folder + "/www")) {
        packed = std::make_unique<PackedApp>(folder);
        served = packed->folder;
    }
    ServedExport site(served);
    if (!site.bundleProblem.empty())
        std::fprintf(stderr, "Error reading asset bundle: %s\n", site.bundleProblem.c_str());
    Descriptor listener(Listen(port));
    struct sigaction stop = {};
    stop.sa_handler = Stop;
    sigemptyset(&stop.sa_mask);
    // No SA_RESTART: accept returns at once.
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    std::printf("serving %s at http://127.0.0.1:%u/ as the host would (Ctrl-C stops)\n", folder.c_str(),
        static_cast<unsigned>(PortOf(listener.fd)));
    std::fflush(stdout);
    while (!stopping) {
        Descriptor connection(accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC));
        if (connection.fd >= 0)
            Answer(connection.fd, site);
    }
    std::printf("stopped\n");
    return 0;
}

}

// A loopback HTTP server that answers as the host would: a preview in any
// browser of which of the game's requests the host would refuse.
int RunServeCommand(const std::string& folder, uint16_t port)
{
    try {
        return Serve(folder, port);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
