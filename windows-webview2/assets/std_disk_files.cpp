#include "assets/std_disk_files.h"

#include <filesystem>

// Only folders and regular files exist for the server: a device or a FIFO
// would never end or never answer, so it is as good as missing.
DiskEntry StdDiskFiles::Examine(const std::string& path) const
{
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(path, error);
    DiskEntry entry;
    if (error)
        return entry;
    if (std::filesystem::is_directory(status)) {
        entry.exists = true;
        entry.isFolder = true;
        return entry;
    }
    if (!std::filesystem::is_regular_file(status))
        return entry;
    uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return entry;
    entry.exists = true;
    entry.size = size;
    return entry;
}
