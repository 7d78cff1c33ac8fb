#pragma once

#include "disk_files.h"

// IDiskFiles over the Win32 file attributes, with long paths.
class Win32DiskFiles : public IDiskFiles {
public:
    DiskEntry Examine(const std::string& path) const override;
};
