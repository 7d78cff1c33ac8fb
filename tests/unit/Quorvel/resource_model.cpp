#include "tests/unit/Quorvel/resource_model.h"

namespace {

// String names sort before numbers, as the resource directory lists them.
std::string NameText(const ResourceName& name)
{
    return name.isInteger ? "#" + std::to_string(name.id) : std::string(name.text.begin(), name.text.end());
}

}

ResourceModel::Key ResourceModel::KeyOf(uint16_t type, const ResourceName& name, uint16_t language)
{
    return {type, name.isInteger, name.text, name.id, language};
}

void ResourceModel::Add(uint16_t type, const ResourceName& name, uint16_t language, const std::string& data)
{
    resources[KeyOf(type, name, language)] = data;
}

std::string ResourceModel::Describe() const
{
    std::string out;
    for (const auto& [key, data] : resources) {
        const auto& [type, isInteger, text, id, language] = key;
        out += std::to_string(type) + " " + NameText({isInteger, id, text}) + " " + std::to_string(language) + ": " + data
            + "\n";
    }
    return out;
}

std::vector<ResourceRecord> ResourceModel::ListIconResources(const std::string& exePath)
{
    calls.push_back("list " + exePath);
    std::vector<ResourceRecord> records;
    if (!loadable)
        return records;
    for (uint16_t type : {RtIcon, RtGroupIcon}) {
        for (const auto& [key, data] : resources) {
            const auto& [keyType, isInteger, text, id, language] = key;
            if (keyType == type)
                records.push_back({type, {isInteger, id, text}, language});
        }
    }
    return records;
}

bool ResourceModel::Begin(const std::string& exePath)
{
    calls.push_back("begin " + exePath);
    if (failBegin)
        return false;
    staged = resources;
    return true;
}

bool ResourceModel::Update(uint16_t type, const ResourceName& name, uint16_t language, const std::string* data)
{
    std::string target = std::to_string(type) + " " + NameText(name) + " " + std::to_string(language);
    if (!data) {
        calls.push_back("delete " + target);
        return staged.erase(KeyOf(type, name, language)) > 0;
    }
    calls.push_back("write " + target);
    if (NameText(name) == failUpdateOf)
        return false;
    staged[KeyOf(type, name, language)] = *data;
    return true;
}

bool ResourceModel::End(bool discard)
{
    calls.push_back(discard ? "discard" : "commit");
    if (discard)
        return true;
    if (failEnd)
        return false;
    resources = staged;
    return true;
}

std::string MemoryExportFiles::ReadWholeFile(const std::string& path)
{
    auto file = files.find(path);
    return file == files.end() ? std::string() : file->second;
}

std::string MemoryExportFiles::ReadFileStart(const std::string& path, size_t maxBytes)
{
    return ReadWholeFile(path).substr(0, maxBytes);
}

uint64_t MemoryExportFiles::FileSize(const std::string& path)
{
    return ReadWholeFile(path).size();
}

std::vector<std::string> MemoryExportFiles::ListExecutables(const std::string& folderPath)
{
    auto listed = executables.find(folderPath);
    return listed == executables.end() ? std::vector<std::string>() : listed->second;
}
