#pragma once

#include "assets/disk_files.h"

// IDiskFiles over an opened handle, with long paths: its type, size and
// final path.
class DiskFilesWin32 : public IDiskFiles {
public:
    DiskEntry Examine(const std::string& folder, const std::string& path) const override;
};
