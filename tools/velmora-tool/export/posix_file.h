#pragma once

#include <sys/types.h>

#include <cstddef>
#include <stdexcept>
#include <string>

// A file descriptor that is closed on every way out.
struct Descriptor {
    explicit Descriptor(int opened) : fd(opened) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

// "<what> <path>: <the system's reason>", from errno.
std::runtime_error FileFailure(const std::string& what, const std::string& path);

// Reads up to count bytes, going on after a signal that interrupted it.
ssize_t ReadSome(int fd, char* into, size_t count);

// Writes every byte, or throws FileFailure("cannot write", path).
void WriteAll(int fd, const char* bytes, size_t count, const std::string& path);
