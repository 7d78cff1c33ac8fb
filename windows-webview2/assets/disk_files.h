#pragma once

#include <cstdint>
#include <string>

struct DiskEntry {
    bool exists = false;
    bool isFolder = false;
    uint64_t size = 0;
};

// What the resource server asks of the file system about the web folder.
class IDiskFiles {
public:
    virtual ~IDiskFiles() = default;
    virtual DiskEntry Examine(const std::string& path) const = 0;
};
