#include "assets/bundle_name_index.h"

#include <cstring>

#include "assets/big_endian.h"

namespace {

// Probing from a home slot walks at most this far without a branch; an
// insertion that goes further is rare and wraps around.
const uint64_t StepsWithoutBranch = 3;

// How many insertions ahead a home slot is fetched.
const size_t FetchAhead = 16;

}

// A hash leads to any slot but the last few, which only follow the others.
uint64_t BundleNameIndex::HomeOf(uint64_t hash) const
{
    return (hash & 0xffffffffu) * (slots.size() - StepsWithoutBranch) >> 32;
}

uint32_t BundleNameIndex::TagOf(uint64_t hash) const
{
    return static_cast<uint32_t>(hash >> 32 << placeBits);
}

void BundleNameIndex::Build(const uint8_t* recordBytes, uint64_t recordsLength,
    const std::vector<BundleEntry>& entries, const std::vector<uint64_t>& hashes)
{
    Clear();
    while (placeBits < 64 && recordsLength >> placeBits != 0)
        ++placeBits;
    if (entries.empty() || placeBits > 32)
        return;
    records = recordBytes;
    // About one slot in two stays empty, so that a lookup mostly reads one.
    slots = std::vector<uint32_t>(entries.size() + entries.size() * 7 / 8 + 1 + StepsWithoutBranch);
    uint32_t* end = slots.data() + slots.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i + FetchAhead < entries.size())
            __builtin_prefetch(slots.data() + HomeOf(hashes[i + FetchAhead]));
        uint32_t* slot = slots.data() + HomeOf(hashes[i]);
        // Filled slots make an unpredictable branch: the first steps are
        // taken by arithmetic, which halves the cost of building.
        for (uint64_t step = 0; step < StepsWithoutBranch; ++step)
            slot += *slot != 0;
        while (*slot != 0)
            slot = slot + 1 == end ? slots.data() : slot + 1;
        auto place = static_cast<uint32_t>(reinterpret_cast<const uint8_t*>(entries[i].nameData) - records);
        *slot = TagOf(hashes[i]) | place;
    }
}

const uint8_t* BundleNameIndex::Find(std::string_view name, uint64_t hash) const
{
    if (slots.empty())
        return nullptr;
    uint32_t tag = TagOf(hash);
    uint32_t tagMask = TagOf(~uint64_t(0));
    for (uint64_t at = HomeOf(hash);; at = at + 1 == slots.size() ? 0 : at + 1) {
        uint32_t slot = slots[at];
        if (slot == 0)
            return nullptr;
        if ((slot & tagMask) != tag)
            continue;
        const uint8_t* bytes = records + (slot & ~tagMask);
        if (U32At(bytes - 4) == name.size() && (name.empty() || std::memcmp(bytes, name.data(), name.size()) == 0))
            return bytes;
    }
}

void BundleNameIndex::Clear()
{
    slots.clear();
    records = nullptr;
    placeBits = 0;
}
