#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "assets/bundle_entry.h"

// Where each name of a mapped directory lies, by the hash of the name. A
// lookup reads one slot and then the name, whose entry's fields lie just
// before it, where a binary search over 100,000 entries would reach
// seventeen entries and names that no longer fit the cache.
class BundleNameIndex {
public:
    // Indexes entries whose names lie in [records, records + recordsLength),
    // each after its 32-bit big-endian length, given a hash of each name in
    // the same order, spread evenly over 64 bits. A name given again is
    // found as given first, since its later slot lies further along the same
    // walk. Records of 4 GiB or more are left unindexed.
    void Build(const uint8_t* records, uint64_t recordsLength, const std::vector<BundleEntry>& entries,
        const std::vector<uint64_t>& hashes);
    bool Built() const { return !slots.empty(); }
    // The place of the name's bytes in the records, or null; `hash` is the
    // hash the name was built with.
    const uint8_t* Find(std::string_view name, uint64_t hash) const;
    void Clear();

private:
    uint64_t HomeOf(uint64_t hash) const;
    uint32_t TagOf(uint64_t hash) const;

    // Each slot holds a name's place in the records in its low bits, and in
    // the bits the place leaves free a part of the name's hash, so that a
    // lookup passes most other names' slots without reading those names; 0
    // is an empty slot (no name lies at the records' start).
    std::vector<uint32_t> slots;
    const uint8_t* records = nullptr;
    int placeBits = 0;
};
