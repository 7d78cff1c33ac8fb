#include "Quorvel/pe_file_updater.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "Quorvel/resource_section_rewrite.h"

namespace {

void WriteBinaryFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

}

std::optional<std::string> ReadBinaryFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

std::vector<ResourceRecord> PeFileUpdater::ListIconResources(const std::string& exePath)
{
    std::vector<ResourceRecord> records;
    std::optional<std::string> bytes = ReadBinaryFile(exePath);
    if (!bytes)
        return records;
    try {
        ResourceTree tree = ReadResourceTree(*bytes, ReadPeLayout(*bytes));
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
    std::optional<std::string> bytes = ReadBinaryFile(exePath);
    if (!bytes) {
        lastError = "cannot read " + exePath;
        return false;
    }
    try {
        staged = ReadResourceTree(*bytes, ReadPeLayout(*bytes));
    } catch (const std::exception& error) {
        lastError = error.what();
        return false;
    }
    path = exePath;
    image = std::move(*bytes);
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
    std::string temporary = path + ".resources-tmp";
    try {
        WriteBinaryFile(temporary, ReplaceResourceSection(image, staged));
        std::filesystem::rename(temporary, path);
        return true;
    } catch (const std::exception& error) {
        lastError = error.what();
        std::remove(temporary.c_str());
        return false;
    }
}
