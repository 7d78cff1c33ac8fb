#pragma once

#include "assets/disk_files.h"

// IDiskFiles over std::filesystem, for the command-line tool and native tests.
class StdDiskFiles : public IDiskFiles {
public:
    DiskEntry Examine(const std::string& folder, const std::string& path) const override;
};
