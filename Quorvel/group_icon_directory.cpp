#include "Quorvel/group_icon_directory.h"

#include "common/little_endian.h"

std::string GroupIconDirectory(const std::vector<IconEntry>& icons, const std::vector<uint32_t>& imageLengths)
{
    std::string out;
    out.reserve(6 + 14 * icons.size());
    AppendLittleEndian(out, 0, 2);
    AppendLittleEndian(out, 1, 2);
    AppendLittleEndian(out, static_cast<uint32_t>(icons.size()), 2);
    for (size_t k = 0; k < icons.size(); ++k) {
        uint32_t side = icons[k].size == 256 ? 0 : static_cast<uint32_t>(icons[k].size);
        AppendLittleEndian(out, side, 1);
        AppendLittleEndian(out, side, 1);
        AppendLittleEndian(out, 0, 1);
        AppendLittleEndian(out, 0, 1);
        // Planes and bit count stay 0: the loader takes them from the image.
        AppendLittleEndian(out, 0, 2);
        AppendLittleEndian(out, 0, 2);
        AppendLittleEndian(out, imageLengths[k], 4);
        AppendLittleEndian(out, icons[k].id, 2);
    }
    return out;
}
