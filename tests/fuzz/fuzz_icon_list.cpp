#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "Quorvel/group_icon_directory.h"
#include "Quorvel/icon_list.h"

namespace {

uint32_t LittleEndian(const std::string& bytes, size_t offset, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<size_t>(i)]);
    return value;
}

bool IsAllowed(int32_t size)
{
    return std::find(AllowedIconSizes.begin(), AllowedIconSizes.end(), size) != AllowedIconSizes.end();
}

// The group bytes hold a header and one record per icon that say back
// exactly the sizes, lengths and numbers they were made from.
void CheckGroup(const std::vector<IconEntry>& icons, const std::vector<uint32_t>& lengths)
{
    std::string group = GroupIconDirectory(icons, lengths);
    if (group.size() != 6 + 14 * icons.size() || LittleEndian(group, 0, 2) != 0 || LittleEndian(group, 2, 2) != 1 ||
        LittleEndian(group, 4, 2) != icons.size())
        __builtin_trap();
    for (size_t k = 0; k < icons.size(); ++k) {
        size_t record = 6 + 14 * k;
        uint32_t side = icons[k].size == 256 ? 0 : static_cast<uint32_t>(icons[k].size);
        if (LittleEndian(group, record, 1) != side || LittleEndian(group, record + 1, 1) != side ||
            LittleEndian(group, record + 8, 4) != lengths[k] || LittleEndian(group, record + 12, 2) != icons[k].id)
            __builtin_trap();
    }
}

}

// Any list text is read or refused with an exception (as the updater
// catches it); what is accepted
// has an allowed size and the numbers 1 to n in order.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<IconEntry> icons;
    try {
        icons = ReadIconList(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception&) {
        return 0;
    }
    std::vector<uint32_t> lengths;
    for (size_t k = 0; k < icons.size(); ++k) {
        if (!IsAllowed(icons[k].size) || icons[k].id != k + 1)
            __builtin_trap();
        lengths.push_back(static_cast<uint32_t>(k * 2654435761u));
    }
    CheckGroup(icons, lengths);
    return 0;
}
