#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/bundle_name_index.h"
#include "assets/name_hash.h"

namespace {

// Names laid out as a directory lays them out: each after its 32-bit
// big-endian length.
struct Records {
    std::string bytes;
    std::vector<BundleEntry> entries;

    explicit Records(const std::vector<std::string>& names)
    {
        std::vector<size_t> places;
        for (const std::string& name : names) {
            for (int shift = 24; shift >= 0; shift -= 8)
                bytes += static_cast<char>(name.size() >> shift);
            places.push_back(bytes.size());
            bytes += name;
        }
        for (size_t i = 0; i < names.size(); ++i)
            entries.push_back({bytes.data() + places[i], static_cast<uint32_t>(names[i].size())});
    }
    const uint8_t* Base() const { return reinterpret_cast<const uint8_t*>(bytes.data()); }
    const uint8_t* At(size_t i) const { return reinterpret_cast<const uint8_t*>(entries[i].nameData); }
};

}

// Every name given the one hash whose home is the last: a single run of
// slots from there over the end of the table and on from its start, with
// the same hash bits in every slot, so that only the names tell them apart.
TEST(BundleNameIndex, NamesOfOneHashAreToldApartByTheirBytesAcrossTheTableEnd)
{
    const uint64_t Highest = ~uint64_t(0);
    std::vector<std::string> names = {"ab", "a", "abc", "", std::string("a\0", 2), "b", "ab"};
    Records records(names);
    BundleNameIndex index;
    index.Build(records.Base(), records.bytes.size(), records.entries, std::vector<uint64_t>(names.size(), Highest));
    ASSERT_TRUE(index.Built());
    for (size_t i = 1; i + 1 < names.size(); ++i)
        EXPECT_EQ(records.At(i), index.Find(names[i], Highest)) << i;
    EXPECT_EQ(records.At(0), index.Find("ab", Highest)) << "a repeated name is found as given first";
    EXPECT_EQ(nullptr, index.Find("abcd", Highest));
    EXPECT_EQ(nullptr, index.Find("c", Highest));
}

// A slot has 32 bits for a name's place in the records.
TEST(BundleNameIndex, RecordsOf4GiBOrMoreAreLeftUnindexed)
{
    Records records({"a"});
    std::vector<uint64_t> hashes = {NameHash("a")};
    BundleNameIndex index;
    index.Build(records.Base(), uint64_t(1) << 32, records.entries, hashes);
    EXPECT_FALSE(index.Built());
    EXPECT_EQ(nullptr, index.Find("a", hashes[0]));
    index.Build(records.Base(), (uint64_t(1) << 32) - 1, records.entries, hashes);
    ASSERT_TRUE(index.Built());
    EXPECT_EQ(records.At(0), index.Find("a", hashes[0]));
}
