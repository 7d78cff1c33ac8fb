#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "assets/body_reader.h"

namespace {

using Origin = BodyReader::Origin;

std::shared_ptr<const IBodyBytes> Memory(const std::string& text, size_t skip = 0, uint64_t length = UINT64_MAX)
{
    return std::make_shared<MemoryBodyBytes>(reinterpret_cast<const uint8_t*>(text.data()) + skip,
        length == UINT64_MAX ? text.size() - skip : length);
}

// A disk body whose bytes from `failFrom` on cannot be read any more.
struct FailingBytes : IBodyBytes {
    FailingBytes(std::string body, uint64_t from) : text(std::move(body)), failFrom(from) {}
    uint64_t Length() const override { return text.size(); }
    bool ReadAt(uint64_t offset, void* into, size_t count) const override
    {
        if (offset + count > failFrom)
            return false;
        text.copy(static_cast<char*>(into), count, offset);
        return true;
    }
    std::string text;
    uint64_t failFrom;
};

}

TEST(BodyReader, ReadsMoveThroughTheBytesAndStopAtTheEnd)
{
    std::string text = "0123456789";
    BodyReader reader(Memory(text, 2, 5));
    char buffer[8] = {};
    EXPECT_EQ(3u, reader.Read(buffer, 3).got);
    EXPECT_EQ("234", std::string(buffer, 3));
    EXPECT_EQ(2u, reader.Read(buffer, 8).got) << "never past the body, though the bytes go on";
    EXPECT_EQ("56", std::string(buffer, 2));
    BodyReader::Chunk end = reader.Read(buffer, 8);
    EXPECT_EQ(0u, end.got);
    EXPECT_FALSE(end.failed);
    EXPECT_EQ(5u, reader.Position());
}

TEST(BodyReader, SeeksAsAStreamDoes)
{
    std::string text = "0123456789";
    BodyReader reader(Memory(text));
    EXPECT_EQ(4u, reader.Seek(4, Origin::Begin));
    EXPECT_EQ(6u, reader.Seek(2, Origin::Current));
    EXPECT_EQ(3u, reader.Seek(-3, Origin::Current));
    EXPECT_EQ(7u, reader.Seek(-3, Origin::End));
    // Before the start is an error that leaves the position.
    EXPECT_EQ(std::nullopt, reader.Seek(-11, Origin::End));
    EXPECT_EQ(std::nullopt, reader.Seek(std::numeric_limits<int64_t>::min(), Origin::Current));
    EXPECT_EQ(7u, reader.Position());
    // Past the end is allowed and reads nothing.
    EXPECT_EQ(11u, reader.Seek(11, Origin::Begin));
    EXPECT_EQ(11u, reader.Seek(1, Origin::End));
    char byte = 0;
    EXPECT_EQ(0u, reader.Read(&byte, 1).got);
    EXPECT_FALSE(reader.Read(&byte, 1).failed);
    EXPECT_EQ(9u, reader.Seek(-1, Origin::End));
    EXPECT_EQ(1u, reader.Read(&byte, 1).got);
    EXPECT_EQ('9', byte);
}

TEST(BodyReader, PositionsNearTheTopOfTheRangeDoNotWrap)
{
    // Only positions are computed; no byte is read.
    std::string text = "x";
    const int64_t most = std::numeric_limits<int64_t>::max();
    const uint64_t huge = std::numeric_limits<uint64_t>::max() - 1;
    BodyReader reader(Memory(text, 0, huge));
    EXPECT_EQ(static_cast<uint64_t>(most), reader.Seek(most, Origin::Begin));
    EXPECT_EQ(static_cast<uint64_t>(most) * 2, reader.Seek(most, Origin::Current));
    EXPECT_EQ(std::nullopt, reader.Seek(2, Origin::Current)) << "no position lies past 2^64 - 1";
    EXPECT_EQ(std::numeric_limits<uint64_t>::max(), reader.Seek(1, Origin::Current));
    EXPECT_EQ(huge - 5, reader.Seek(-5, Origin::End));
}

TEST(BodyReader, BytesThatCannotBeReadAreAnErrorNotAShortBody)
{
    BodyReader reader(std::make_shared<FailingBytes>("0123456789", 6));
    char buffer[8] = {};
    BodyReader::Chunk first = reader.Read(buffer, 4);
    EXPECT_EQ(4u, first.got);
    EXPECT_FALSE(first.failed);
    BodyReader::Chunk broken = reader.Read(buffer, 4);
    EXPECT_TRUE(broken.failed);
    EXPECT_EQ(0u, broken.got);
    EXPECT_EQ(4u, reader.Position()) << "a failed read moves nothing";
    EXPECT_EQ(2u, reader.Read(buffer, 2).got) << "what can still be read, still reads";

    std::string text = "abc";
    MemoryBodyBytes memory(reinterpret_cast<const uint8_t*>(text.data()), 3);
    EXPECT_FALSE(memory.ReadAt(2, buffer, 2)) << "never past the bytes";
    EXPECT_FALSE(memory.ReadAt(UINT64_MAX, buffer, 2));
    EXPECT_TRUE(memory.ReadAt(3, buffer, 0));
}
