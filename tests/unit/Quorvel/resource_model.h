#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "Quorvel/export_files.h"
#include "Quorvel/resource_updater.h"

// The resources of one executable as Windows documents the update
// functions: Begin stages a copy, Update with data adds or replaces and
// with no data deletes, End commits or discards. Every call is logged.
class ResourceModel : public IResourceUpdater {
public:
    using Key = std::tuple<uint16_t, bool, std::u16string, uint16_t, uint16_t>;

    static Key KeyOf(uint16_t type, const ResourceName& name, uint16_t language);
    void Add(uint16_t type, const ResourceName& name, uint16_t language, const std::string& data);
    // "type name language: data" lines in enumeration order.
    std::string Describe() const;

    std::vector<ResourceRecord> ListIconResources(const std::string& exePath) override;
    bool Begin(const std::string& exePath) override;
    bool Update(uint16_t type, const ResourceName& name, uint16_t language, const std::string* data) override;
    bool End(bool discard) override;

    std::map<Key, std::string> resources;
    std::vector<std::string> calls;
    bool loadable = true;
    bool failBegin = false;
    bool failEnd = false;
    // An update with data of this resource name fails.
    std::string failUpdateOf;

private:
    std::map<Key, std::string> staged;
};

// Files held in memory, keyed by their full path.
class MemoryExportFiles : public IExportFiles {
public:
    std::string ReadWholeFile(const std::string& path) override;
    std::string ReadFileStart(const std::string& path, size_t maxBytes) override;
    uint64_t FileSize(const std::string& path) override;
    std::vector<std::string> ListExecutables(const std::string& folderPath) override;

    std::map<std::string, std::string> files;
    std::map<std::string, std::vector<std::string>> executables;
};
