#include "std_disk_files.h"

#include <filesystem>

DiskEntry StdDiskFiles::Examine(const std::string& path) const
{
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(path, error);
    DiskEntry entry;
    if (error || !std::filesystem::exists(status))
        return entry;
    entry.exists = true;
    entry.isFolder = std::filesystem::is_directory(status);
    if (!entry.isFolder)
        entry.size = std::filesystem::file_size(path, error);
    return entry;
}
