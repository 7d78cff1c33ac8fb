#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The file access of the icon updater, over UTF-8 paths built by plain
// concatenation. The Win32 layer implements it for the tool, the standard
// library for the command-line tool and the tests.
class IExportFiles {
public:
    virtual ~IExportFiles() = default;
    // The file's bytes; empty for a missing, unreadable or empty file.
    virtual std::string ReadWholeFile(const std::string& path) = 0;
    // At most maxBytes from the start of the file; empty when unreadable.
    virtual std::string ReadFileStart(const std::string& path, size_t maxBytes) = 0;
    virtual uint64_t FileSize(const std::string& path) = 0;
    // The names of the folder's "*.exe" files, in the file system's order.
    virtual std::vector<std::string> ListExecutables(const std::string& folderPath) = 0;
};
