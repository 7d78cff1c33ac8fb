#pragma once

#include <cstdint>
#include <string>

// How much of a PE file its headers and sections account for: the end of
// the last section's raw data (at least the headers' size). Anything after
// it is an overlay, such as a signature or an appended payload. head holds
// the start of the file; throws when it is not a PE image or its section
// table does not lie within head.
uint64_t PeImageEnd(const std::string& head);

// How many bytes of a file PeImageEnd is given.
inline constexpr size_t PeHeadBytes = 64 * 1024;
