#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ByteRange {
    uint64_t first = 0;
    uint64_t last = 0;
    uint64_t Length() const { return last - first + 1; }
};

// One "bytes=" range of a file of the given size, or nothing when the value
// cannot be satisfied (416). Numbers are 64-bit; one that is not a number or
// does not fit makes the value unsatisfiable.
std::optional<ByteRange> ParseRangeHeader(const std::string& value, uint64_t size);

// Strips space, tab, LF, VT, FF and CR from both ends.
std::string TrimHeaderValue(const std::string& value);
