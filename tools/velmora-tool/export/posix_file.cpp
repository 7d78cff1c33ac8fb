#include "tools/velmora-tool/export/posix_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

Descriptor::~Descriptor()
{
    if (fd >= 0)
        close(fd);
}

std::runtime_error FileFailure(const std::string& what, const std::string& path)
{
    return std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

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
            throw FileFailure("cannot write", path);
        bytes += put;
        count -= static_cast<size_t>(put);
    }
}
