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
    // The folder or regular file at path, which exists only when it really
    // lies inside folder (ending with a separator) once links are followed.
    virtual DiskEntry Examine(const std::string& folder, const std::string& path) const = 0;
};
