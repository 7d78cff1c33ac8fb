#include <gtest/gtest.h>

#include "assets/range_header.h"

namespace {

std::string Range(const std::string& value, uint64_t size)
{
    auto range = ParseRangeHeader(value, size);
    return range ? std::to_string(range->first) + "-" + std::to_string(range->last) : "416";
}

}

TEST(RangeHeader, SatisfiableForms)
{
    EXPECT_EQ(Range("bytes=0-", 100), "0-99");
    EXPECT_EQ(Range("bytes=10-19", 100), "10-19");
    EXPECT_EQ(Range("bytes=-10", 100), "90-99");
    EXPECT_EQ(Range("bytes=-100", 100), "0-99");
    EXPECT_EQ(Range("bytes=0-0", 100), "0-0");
    EXPECT_EQ(Range("bytes= 5-", 100), "5-99");
    EXPECT_EQ(Range("bytes=+5-6", 100), "5-6");
    EXPECT_EQ(Range("bytes=0-99,200-299", 1000), "0-99");
    EXPECT_EQ(Range("bytes=3000000000-3000000009", 4000000000ULL), "3000000000-3000000009");
    EXPECT_EQ(Range("bytes=-1", 5000000000ULL), "4999999999-4999999999");
}

TEST(RangeHeader, RangesAsHttpDefinesThem)
{
    // A last position at or past the end is cut to the end; a suffix
    // longer than the file is the whole file; the unit is case-insensitive.
    EXPECT_EQ(Range("bytes=0-100", 100), "0-99");
    EXPECT_EQ(Range("bytes=50-99999999999", 100), "50-99");
    EXPECT_EQ(Range("bytes=-101", 100), "0-99");
    EXPECT_EQ(Range("bytes=-99999", 100), "0-99");
    EXPECT_EQ(Range("Bytes=0-9", 100), "0-9");
    EXPECT_EQ(Range("BYTES=-5", 100), "95-99");
    EXPECT_TRUE(ParseRangeHeader("bytes=5-", 100)->openEnded);
    EXPECT_TRUE(ParseRangeHeader("bytes=-5", 100)->openEnded);
    EXPECT_FALSE(ParseRangeHeader("bytes=5-500", 100)->openEnded);
}

TEST(RangeHeader, UnsatisfiableForms)
{
    for (const char* value : {"bytes=100-", "bytes=100-200", "bytes=20-10", "bytes=5", "bytes=", "bytes =0-9",
             "bytes=-", "bytes=-0", "bytes=a-b", "bytes=1-b", "bytes=-x", "bytes=--5",
             "bytes=99999999999999999999-", "bytes=0-99999999999999999999", "items=0-1", ""})
        EXPECT_EQ(Range(value, 100), "416") << value;
    EXPECT_EQ(Range("bytes=0-", 0), "416");
    EXPECT_EQ(Range("bytes=-0", 0), "416");
}

TEST(RangeHeader, TrimsOnlyTheEnds)
{
    EXPECT_EQ(TrimHeaderValue(" \t\r\nbytes=0-1\v\f "), "bytes=0-1");
    EXPECT_EQ(TrimHeaderValue("bytes = 0"), "bytes = 0");
    EXPECT_EQ(TrimHeaderValue("   "), "");
}
