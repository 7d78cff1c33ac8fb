#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ByteRange {
    uint64_t first = 0;
    uint64_t last = 0;
    // "N-" or a suffix: the client named no end, so any end will do.
    bool openEnded = false;
    uint64_t Length() const { return last - first + 1; }
};

// One "bytes=" range (the unit in any case) of a file of the given size, or
// nothing when the value cannot be satisfied (416). A last position past
// the end is shortened to the end and a suffix longer than the file is the
// whole file. Numbers are 64-bit; one that is not a number or does not fit
// makes the value unsatisfiable. Of several ranges only the first counts.
std::optional<ByteRange> ParseRangeHeader(const std::string& value, uint64_t size);

// Strips space, tab, LF, VT, FF and CR from both ends.
std::string TrimHeaderValue(const std::string& value);
