#pragma once

#include "Quorvel/export_files.h"

// IExportFiles over the C++ standard library, for the command-line tool
// and the native tests.
class StdExportFiles : public IExportFiles {
public:
    std::string ReadWholeFile(const std::string& path) override;
    std::string ReadFileStart(const std::string& path, size_t maxBytes) override;
    uint64_t FileSize(const std::string& path) override;
    std::vector<std::string> ListExecutables(const std::string& folderPath) override;
};
