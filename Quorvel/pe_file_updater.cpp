#include "Quorvel/pe_file_updater.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/file_reading.h"
#include "Quorvel/resource_section_rewrite.h"

namespace fs = std::filesystem;

namespace {

// Paths are UTF-8 on every platform.
void WriteBinaryFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.u8string());
}

}

std::vector<ResourceRecord> PeFileUpdater::ListIconResources(const std::string& exePath)
{
    std::vector<ResourceRecord> records;
    std::string bytes = ReadWholeFile(exePath);
    try {
        ResourceTree tree = ReadResourceTree(bytes, ReadPeLayout(bytes));
        for (uint16_t type : {RtIcon, RtGroupIcon}) {
            for (const auto& [key, data] : tree) {
                if (key.type.isInteger && key.type.id == type)
                    records.push_back({type, key.name, key.language});
            }
        }
    } catch (const std::exception&) {
        records.clear();
    }
    return records;
}

bool PeFileUpdater::Begin(const std::string& exePath)
{
    open = false;
    std::string bytes = ReadWholeFile(exePath);
    if (bytes.empty()) {
        lastError = "cannot read " + exePath;
        return false;
    }
    try {
        staged = ReadResourceTree(bytes, ReadPeLayout(bytes));
    } catch (const std::exception& error) {
        lastError = error.what();
        return false;
    }
    path = exePath;
    image = std::move(bytes);
    open = true;
    return true;
}

bool PeFileUpdater::Update(uint16_t type, const ResourceName& name, uint16_t language, const std::string* data)
{
    if (!open)
        return false;
    ResourceKey key {ResourceName::Number(type), name, language};
    if (!data)
        return staged.erase(key) > 0;
    staged[key] = *data;
    return true;
}

bool PeFileUpdater::End(bool discard)
{
    if (!open)
        return false;
    open = false;
    if (discard)
        return true;
    fs::path target = fs::u8path(path);
    fs::path temporary = fs::u8path(path + ".resources-tmp");
    try {
        WriteBinaryFile(temporary, ReplaceResourceSection(image, staged));
        fs::rename(temporary, target);
        return true;
    } catch (const std::exception& error) {
        lastError = error.what();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
}
