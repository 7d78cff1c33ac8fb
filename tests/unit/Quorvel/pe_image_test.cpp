#include <gtest/gtest.h>

#include <stdexcept>

#include "Quorvel/pe_image.h"
#include "tests/support/pe_builder.h"

TEST(PeImage, EndsAfterTheLastSectionsRawData)
{
    EXPECT_EQ(0x200u + 0x400u, PeImageEnd(MinimalPe(0x400)));
    EXPECT_EQ(0x200u + 0x400u, PeImageEnd(MinimalPe(0x400, 9)));
    EXPECT_EQ(0x200u, PeImageEnd(MinimalPe(0)));
}

TEST(PeImage, RejectsWhatIsNotAReadablePeHead)
{
    std::string pe = MinimalPe(0x400);
    EXPECT_THROW(PeImageEnd(""), std::runtime_error);
    EXPECT_THROW(PeImageEnd("MZ"), std::runtime_error);
    EXPECT_THROW(PeImageEnd("PK" + pe.substr(2)), std::runtime_error);
    EXPECT_THROW(PeImageEnd(pe.substr(0, 0x100)), std::runtime_error);
    std::string farHeader = pe;
    farHeader[0x3C] = '\xF0';
    farHeader[0x3F] = '\x7F';
    EXPECT_THROW(PeImageEnd(farHeader), std::runtime_error);
}
