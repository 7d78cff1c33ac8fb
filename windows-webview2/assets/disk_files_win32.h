#pragma once

#include "assets/disk_files.h"

// IDiskFiles over the Win32 file attributes, with long paths.
class DiskFilesWin32 : public IDiskFiles {
public:
    DiskEntry Examine(const std::string& path) const override;
};
