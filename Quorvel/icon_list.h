#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One accepted icon of a folder's list: the image path relative to the
// folder (UTF-8), its width and height in pixels, and the RT_ICON number
// it will be written under.
struct IconEntry {
    std::string src;
    int32_t size = 0;
    uint16_t id = 0;
};

inline constexpr std::array<int32_t, 5> AllowedIconSizes = {16, 32, 64, 128, 256};

// The accepted entries of the "q7-app-icons" list in a list file's text,
// numbered 1 to n in file order. Throws on a syntax error, a root that is
// not an object, a missing list or a member of the wrong type; an entry of
// another size is skipped.
std::vector<IconEntry> ReadIconList(const std::string& text);
