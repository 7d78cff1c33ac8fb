#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

// A hash of a name's bytes for the bundle's name index. It is inline, and
// not std::hash (three times the cost per name), because a parse hashes
// every name of the directory as it reads it.
inline uint64_t NameHash(std::string_view name)
{
    auto mixed = [](uint64_t hash, uint64_t word, uint64_t factor) {
        hash = (hash ^ word) * factor;
        return hash ^ hash >> 32;
    };
    auto wordAt = [&name](size_t at) {
        uint64_t word = 0;
        std::memcpy(&word, name.data() + at, 8);
        return word;
    };
    const uint64_t Factor = 0xff51afd7ed558ccdull;
    uint64_t hash = name.size() * 0x9e3779b97f4a7c15ull;
    if (name.size() < 8) {
        uint64_t word = 0;
        if (!name.empty())
            std::memcpy(&word, name.data(), name.size());
        return mixed(hash, word, Factor);
    }
    // Eight bytes at a time; the last eight overlap the ones before.
    for (size_t at = 0; at + 8 < name.size(); at += 8)
        hash = mixed(hash, wordAt(at), Factor);
    return mixed(hash, wordAt(name.size() - 8), 0xc4ceb9fe1a85ec53ull);
}
