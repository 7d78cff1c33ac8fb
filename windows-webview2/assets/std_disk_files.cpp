#include "assets/std_disk_files.h"

#include <filesystem>

#include "common/path_below.h"

namespace fs = std::filesystem;

namespace {

// Whether the real location of path, after every link, is below folder's.
bool LiesInside(const std::string& folder, const std::string& path)
{
    std::error_code error;
    fs::path inside = fs::canonical(folder, error);
    if (error)
        return false;
    fs::path real = fs::canonical(path, error);
    return !error && IsPathBelow(inside, real);
}

}

// Only folders and regular files exist for the server: a device or a FIFO
// would never end or never answer, so it is as good as missing.
DiskEntry StdDiskFiles::Examine(const std::string& folder, const std::string& path) const
{
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    DiskEntry entry;
    if (error || !LiesInside(folder, path))
        return entry;
    if (fs::is_directory(status)) {
        entry.exists = true;
        entry.isFolder = true;
        return entry;
    }
    if (!fs::is_regular_file(status))
        return entry;
    uintmax_t size = fs::file_size(path, error);
    if (error)
        return entry;
    entry.exists = true;
    entry.size = size;
    return entry;
}
