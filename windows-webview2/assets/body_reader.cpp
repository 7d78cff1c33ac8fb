#include "assets/body_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

bool MemoryBodyBytes::ReadAt(uint64_t offset, void* into, size_t count) const
{
    if (offset > length || count > length - offset)
        return false;
    if (count > 0)
        std::memcpy(into, data + offset, count);
    return true;
}

BodyReader::Chunk BodyReader::Read(void* into, uint64_t count)
{
    uint64_t length = bytes->Length();
    uint64_t available = position >= length ? 0 : length - position;
    uint64_t wanted = std::min<uint64_t>({count, available, std::numeric_limits<size_t>::max()});
    if (wanted > 0 && !bytes->ReadAt(position, into, static_cast<size_t>(wanted)))
        return {0, true};
    position += wanted;
    return {wanted, false};
}

std::optional<uint64_t> BodyReader::Seek(int64_t move, Origin origin)
{
    uint64_t base = origin == Origin::Begin ? 0 : origin == Origin::Current ? position : bytes->Length();
    // Unsigned arithmetic on the magnitude, so that no move can overflow.
    uint64_t magnitude = move < 0 ? 0 - static_cast<uint64_t>(move) : static_cast<uint64_t>(move);
    if (move < 0 && magnitude > base)
        return std::nullopt;
    if (move >= 0 && magnitude > std::numeric_limits<uint64_t>::max() - base)
        return std::nullopt;
    position = move < 0 ? base - magnitude : base + magnitude;
    return position;
}
