#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "assets/byte_slice.h"

namespace {

const uint8_t* Bytes(const std::string& text)
{
    return reinterpret_cast<const uint8_t*>(text.data());
}

}

TEST(ByteSlice, ReadsMoveThroughTheBytesAndStopAtTheEnd)
{
    std::string text = "0123456789";
    ByteSlice slice(Bytes(text) + 2, 5);
    char buffer[8] = {};
    EXPECT_EQ(3u, slice.Read(buffer, 3));
    EXPECT_EQ("234", std::string(buffer, 3));
    EXPECT_EQ(2u, slice.Read(buffer, 8)) << "never past the slice, though the bytes go on";
    EXPECT_EQ("56", std::string(buffer, 2));
    EXPECT_EQ(0u, slice.Read(buffer, 8));
    EXPECT_EQ(5u, slice.Position());
}

TEST(ByteSlice, SeeksFromEachOriginClampedToTheSlice)
{
    std::string text = "0123456789";
    ByteSlice slice(Bytes(text), 10);
    EXPECT_EQ(4u, slice.Seek(4, ByteSlice::Origin::Begin));
    EXPECT_EQ(6u, slice.Seek(2, ByteSlice::Origin::Current));
    EXPECT_EQ(3u, slice.Seek(-3, ByteSlice::Origin::Current));
    EXPECT_EQ(7u, slice.Seek(-3, ByteSlice::Origin::End));
    EXPECT_EQ(0u, slice.Seek(-11, ByteSlice::Origin::End));
    EXPECT_EQ(10u, slice.Seek(11, ByteSlice::Origin::Begin));
    EXPECT_EQ(10u, slice.Seek(1, ByteSlice::Origin::End));
    EXPECT_EQ(0u, slice.Seek(std::numeric_limits<int64_t>::min(), ByteSlice::Origin::Current));
    EXPECT_EQ(10u, slice.Seek(std::numeric_limits<int64_t>::max(), ByteSlice::Origin::End));
    char byte = 0;
    slice.Seek(-1, ByteSlice::Origin::End);
    EXPECT_EQ(1u, slice.Read(&byte, 1));
    EXPECT_EQ('9', byte);
}

TEST(ByteSlice, PositionsNearTheTopOfTheRangeDoNotWrap)
{
    // Only positions are computed; no byte is read.
    std::string text = "x";
    const int64_t most = std::numeric_limits<int64_t>::max();
    const uint64_t huge = std::numeric_limits<uint64_t>::max() - 1;
    ByteSlice slice(Bytes(text), huge);
    EXPECT_EQ(static_cast<uint64_t>(most), slice.Seek(most, ByteSlice::Origin::Begin));
    EXPECT_EQ(huge, slice.Seek(most, ByteSlice::Origin::Current));
    EXPECT_EQ(huge, slice.Seek(most, ByteSlice::Origin::Current));
    EXPECT_EQ(huge - 5, slice.Seek(-5, ByteSlice::Origin::End));
}
