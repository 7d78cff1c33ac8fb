#include "Quorvel/resource_tree.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

constexpr uint32_t HighBit = 0x80000000u;
constexpr uint32_t MaxSectionBytes = 0x40000000u;

struct DirectoryReader {
    const std::string& image;
    size_t section = 0; // file offset of the resource section
    uint32_t sectionSize = 0;
    std::set<uint32_t> seen;

    uint32_t At(uint32_t offset, uint32_t length) const
    {
        if (offset > sectionSize || sectionSize - offset < length)
            throw std::runtime_error("bad resource directory");
        return offset;
    }

    uint32_t U32(uint32_t offset) const { return ReadU32At(image, section + At(offset, 4)); }

    ResourceName NameOf(uint32_t field) const
    {
        if (!(field & HighBit))
            return ResourceName::Number(static_cast<uint16_t>(field));
        uint32_t offset = field & ~HighBit;
        uint16_t length = ReadU16At(image, section + At(offset, 2));
        At(offset + 2, 2u * length);
        std::u16string text;
        for (uint32_t i = 0; i < length; ++i)
            text.push_back(static_cast<char16_t>(ReadU16At(image, section + offset + 2 + 2 * i)));
        return ResourceName::Text(std::move(text));
    }

    // The (name, child) entries of the directory at offset; each directory
    // is read once, so a shared or looping one is refused.
    std::vector<std::pair<ResourceName, uint32_t>> Entries(uint32_t offset)
    {
        if (!seen.insert(offset).second)
            throw std::runtime_error("bad resource directory");
        uint32_t count = static_cast<uint32_t>(ReadU16At(image, section + At(offset, 16) + 12)) +
                         ReadU16At(image, section + offset + 14);
        At(offset + 16, 8 * count);
        std::vector<std::pair<ResourceName, uint32_t>> entries;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t entry = offset + 16 + 8 * i;
            entries.emplace_back(NameOf(U32(entry)), U32(entry + 4));
        }
        return entries;
    }
};

uint32_t SubdirectoryOf(uint32_t child)
{
    if (!(child & HighBit))
        throw std::runtime_error("bad resource directory");
    return child & ~HighBit;
}

// One directory being written: its entries' names in order.
using Level = std::vector<ResourceName>;

// The directories of a tree in writing order: the root, each type's names,
// each name's languages; the leaves are the resources in tree order.
struct TreeLevels {
    std::vector<Level> levels;
    size_t nameLevels = 0;
    std::vector<const std::string*> leaves;
};

TreeLevels LevelsOf(const ResourceTree& tree)
{
    TreeLevels out;
    out.levels.resize(1);
    std::vector<Level> languageLevels;
    for (const auto& [key, data] : tree) {
        Level& types = out.levels[0];
        bool newType = types.empty() || !(types.back() == key.type);
        if (newType) {
            types.push_back(key.type);
            out.levels.push_back({});
        }
        Level& names = out.levels.back();
        if (newType || !(names.back() == key.name)) {
            names.push_back(key.name);
            languageLevels.push_back({});
        }
        languageLevels.back().push_back(ResourceName::Number(key.language));
        out.leaves.push_back(&data);
    }
    out.nameLevels = out.levels.size() - 1;
    for (Level& level : languageLevels)
        out.levels.push_back(std::move(level));
    for (const Level& level : out.levels) {
        if (level.size() > 0xFFFF)
            throw std::runtime_error("too many resources");
    }
    return out;
}

// Each directory's header and entries. The root's children are the name
// levels, the name levels' the language levels in order, the language
// levels' the data entries.
void WriteDirectories(std::string& out, const TreeLevels& tree, const std::vector<uint32_t>& levelOffsets,
    uint32_t entries, const std::map<std::u16string, uint32_t>& strings)
{
    size_t nextLevel = 1;
    uint32_t nextLeaf = 0;
    for (size_t k = 0; k < tree.levels.size(); ++k) {
        const Level& names = tree.levels[k];
        size_t at = levelOffsets[k];
        uint16_t named = static_cast<uint16_t>(
            std::count_if(names.begin(), names.end(), [](const ResourceName& name) { return !name.isInteger; }));
        WriteU16At(out, at + 12, named);
        WriteU16At(out, at + 14, static_cast<uint16_t>(names.size() - named));
        bool leafLevel = k > tree.nameLevels;
        for (size_t i = 0; i < names.size(); ++i) {
            size_t entry = at + 16 + 8 * i;
            WriteU32At(out, entry, names[i].isInteger ? names[i].id : (HighBit | strings.at(names[i].text)));
            WriteU32At(out, entry + 4, leafLevel ? entries + 16 * nextLeaf++ : (HighBit | levelOffsets[nextLevel++]));
        }
    }
}

}

bool operator<(const ResourceName& a, const ResourceName& b)
{
    if (a.isInteger != b.isInteger)
        return !a.isInteger;
    return a.isInteger ? a.id < b.id : a.text < b.text;
}

bool operator<(const ResourceKey& a, const ResourceKey& b)
{
    if (!(a.type == b.type))
        return a.type < b.type;
    if (!(a.name == b.name))
        return a.name < b.name;
    return a.language < b.language;
}

bool operator==(const ResourceName& a, const ResourceName& b)
{
    return !(a < b) && !(b < a);
}

bool operator==(const ResourceKey& a, const ResourceKey& b)
{
    return a.type == b.type && a.name == b.name && a.language == b.language;
}

ResourceTree ReadResourceTree(const std::string& image, const PeLayout& layout)
{
    ResourceTree tree;
    if (layout.directories.size() <= PeResourceDirectory || layout.directories[PeResourceDirectory].rva == 0)
        return tree;
    const PeDataDirectory& directory = layout.directories[PeResourceDirectory];
    auto section = std::find_if(layout.sections.begin(), layout.sections.end(),
        [&directory](const PeSection& candidate) { return candidate.virtualAddress == directory.rva; });
    if (section == layout.sections.end() || section->rawSize == 0)
        throw std::runtime_error("resource directory does not start its section");
    DirectoryReader reader {image, section->rawOffset, section->rawSize, {}};
    for (const auto& [type, names] : reader.Entries(0)) {
        for (const auto& [name, languages] : reader.Entries(SubdirectoryOf(names))) {
            for (const auto& [language, data] : reader.Entries(SubdirectoryOf(languages))) {
                if ((data & HighBit) || !language.isInteger)
                    throw std::runtime_error("bad resource directory");
                uint32_t rva = reader.U32(data);
                uint32_t size = reader.U32(data + 4);
                size_t at = FileOffsetOf(layout, rva, size);
                tree[{type, name, language.id}] = image.substr(at, size);
            }
        }
    }
    return tree;
}

std::string BuildResourceSection(const ResourceTree& tree, uint32_t sectionRva)
{
    TreeLevels levelled = LevelsOf(tree);
    const std::vector<Level>& levels = levelled.levels;
    std::vector<uint32_t> levelOffsets;
    uint32_t offset = 0;
    for (const Level& level : levels) {
        levelOffsets.push_back(offset);
        offset += 16 + 8 * static_cast<uint32_t>(level.size());
    }
    uint32_t entries = offset;
    offset += 16 * static_cast<uint32_t>(levelled.leaves.size());
    std::map<std::u16string, uint32_t> strings;
    for (const Level& level : levels) {
        for (const ResourceName& name : level) {
            if (!name.isInteger && strings.emplace(name.text, offset).second)
                offset += 2 + 2 * static_cast<uint32_t>(name.text.size());
        }
    }
    std::vector<uint32_t> dataOffsets;
    for (const std::string* data : levelled.leaves) {
        offset = AlignUp(offset, 8);
        dataOffsets.push_back(offset);
        // A section's size is 32-bit; stay well inside it.
        if (data->size() > MaxSectionBytes - offset)
            throw std::runtime_error("resources too large");
        offset += static_cast<uint32_t>(data->size());
    }

    std::string out(offset, '\0');
    WriteDirectories(out, levelled, levelOffsets, entries, strings);
    for (const auto& [text, at] : strings) {
        WriteU16At(out, at, static_cast<uint16_t>(text.size()));
        for (size_t i = 0; i < text.size(); ++i)
            WriteU16At(out, at + 2 + 2 * i, static_cast<uint16_t>(text[i]));
    }
    for (size_t k = 0; k < levelled.leaves.size(); ++k) {
        const std::string& data = *levelled.leaves[k];
        WriteU32At(out, entries + 16 * k, sectionRva + dataOffsets[k]);
        WriteU32At(out, entries + 16 * k + 4, static_cast<uint32_t>(data.size()));
        out.replace(dataOffsets[k], data.size(), data);
    }
    return out;
}
