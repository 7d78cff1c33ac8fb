#include "Quorvel/group_icon_directory.h"

namespace {

void PutLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}

std::string GroupIconDirectory(const std::vector<IconEntry>& icons, const std::vector<uint32_t>& imageLengths)
{
    std::string out;
    out.reserve(6 + 14 * icons.size());
    PutLittleEndian(out, 0, 2);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, static_cast<uint32_t>(icons.size()), 2);
    for (size_t k = 0; k < icons.size(); ++k) {
        uint32_t side = icons[k].size == 256 ? 0 : static_cast<uint32_t>(icons[k].size);
        PutLittleEndian(out, side, 1);
        PutLittleEndian(out, side, 1);
        PutLittleEndian(out, 0, 1);
        PutLittleEndian(out, 0, 1);
        // Planes and bit count stay 0: the loader takes them from the image.
        PutLittleEndian(out, 0, 2);
        PutLittleEndian(out, 0, 2);
        PutLittleEndian(out, imageLengths[k], 4);
        PutLittleEndian(out, icons[k].id, 2);
    }
    return out;
}
