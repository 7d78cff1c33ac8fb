#include "assets/byte_slice.h"

#include <algorithm>
#include <cstring>

uint64_t ByteSlice::Read(void* into, uint64_t count)
{
    uint64_t got = std::min(count, length - position);
    if (got > 0)
        std::memcpy(into, data + position, got);
    position += got;
    return got;
}

uint64_t ByteSlice::Seek(int64_t move, Origin origin)
{
    uint64_t base = origin == Origin::Begin ? 0 : origin == Origin::Current ? position : length;
    // Unsigned arithmetic on the magnitude, so that no move can overflow.
    uint64_t magnitude = move < 0 ? 0 - static_cast<uint64_t>(move) : static_cast<uint64_t>(move);
    if (move < 0)
        position = magnitude > base ? 0 : base - magnitude;
    else
        position = magnitude > length - base ? length : base + magnitude;
    return position;
}
