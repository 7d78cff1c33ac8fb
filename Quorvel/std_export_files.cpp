#include "std_export_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

bool HasExeExtension(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".exe";
}

}

std::string StdExportFiles::ReadWholeFile(const std::string& path)
{
    std::ifstream in(fs::u8path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string StdExportFiles::ReadFileStart(const std::string& path, size_t maxBytes)
{
    std::ifstream in(fs::u8path(path), std::ios::binary);
    std::string head(maxBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(maxBytes));
    head.resize(static_cast<size_t>(in.gcount()));
    return head;
}

uint64_t StdExportFiles::FileSize(const std::string& path)
{
    std::error_code error;
    uintmax_t size = fs::file_size(fs::u8path(path), error);
    return error ? 0 : size;
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
