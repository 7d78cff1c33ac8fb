#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Quorvel/icon_list.h"

// The RT_GROUP_ICON data for the icons in list order: a 6-byte header and
// one 14-byte little-endian record per icon. imageLengths[k] is the byte
// length of icon k's image.
std::string GroupIconDirectory(const std::vector<IconEntry>& icons, const std::vector<uint32_t>& imageLengths);
