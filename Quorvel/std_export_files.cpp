#include "Quorvel/std_export_files.h"

#include <filesystem>

#include "common/ascii.h"
#include "common/file_reading.h"

namespace fs = std::filesystem;

namespace {

bool HasExeExtension(const std::string& name)
{
    return name.size() >= 4 && AsciiLower(name.substr(name.size() - 4)) == ".exe";
}

}

std::string StdExportFiles::ReadWholeFile(const std::string& path)
{
    return ::ReadWholeFile(path);
}

std::string StdExportFiles::ReadFileStart(const std::string& path, size_t maxBytes)
{
    return ::ReadFileStart(path, maxBytes);
}

uint64_t StdExportFiles::FileSize(const std::string& path)
{
    return ::FileSize(path);
}

std::vector<std::string> StdExportFiles::ListExecutables(const std::string& folderPath)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::u8path(folderPath), error)) {
        std::string name = entry.path().filename().u8string();
        if (HasExeExtension(name))
            names.push_back(name);
    }
    return names;
}
