#include "tools/velmora-tool/planned_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

// A file descriptor that is closed on every way out.
struct Descriptor {
    explicit Descriptor(int opened) : fd(opened) {}
    ~Descriptor()
    {
        if (fd >= 0)
            close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

std::runtime_error Failure(const std::string& what, const std::string& path)
{
    return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

// Reads up to count bytes, going on after a signal that interrupted it.
ssize_t ReadSome(int fd, char* into, size_t count)
{
    ssize_t got;
    do {
        got = read(fd, into, count);
    } while (got < 0 && errno == EINTR);
    return got;
}

void WriteAll(int fd, const char* bytes, size_t count, const std::string& path)
{
    while (count > 0) {
        ssize_t put = write(fd, bytes, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw Failure("cannot write", path);
        bytes += put;
        count -= static_cast<size_t>(put);
    }
}

}

void CopyPlannedFile(const BundleSource& source, const std::filesystem::path& to, const std::function<void()>& between)
{
    std::filesystem::create_directories(to.parent_path());
    Descriptor in(open(source.diskPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0)
        throw Failure("cannot read", source.diskPath);
    Descriptor out(open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.fd < 0)
        throw Failure("cannot create", to.string());
    std::vector<char> buffer(1 << 20);
    uint64_t left = source.size;
    while (left > 0) {
        between();
        ssize_t got = ReadSome(in.fd, buffer.data(), static_cast<size_t>(std::min<uint64_t>(left, buffer.size())));
        if (got < 0)
            throw Failure("cannot read", source.diskPath);
        if (got == 0)
            throw std::runtime_error(source.diskPath + " changed while packing");
        WriteAll(out.fd, buffer.data(), static_cast<size_t>(got), to.string());
        left -= static_cast<uint64_t>(got);
    }
    char extra = 0;
    if (ReadSome(in.fd, &extra, 1) != 0)
        throw std::runtime_error(source.diskPath + " changed while packing");
    if (close(out.fd) != 0) {
        out.fd = -1;
        throw Failure("cannot write", to.string());
    }
    out.fd = -1;
}
