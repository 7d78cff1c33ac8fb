#include <gtest/gtest.h>

#include "Quorvel/group_icon_directory.h"

TEST(GroupIconDirectory, OneLargeIconIsTwentyBytes)
{
    std::string bytes = GroupIconDirectory({{"big.png", 256, 1}}, {0x01020304});
    const unsigned char expected[] = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 3, 2, 1, 1, 0};
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(expected), sizeof expected), bytes);
}

TEST(GroupIconDirectory, RecordsFollowTheListOrder)
{
    std::string bytes = GroupIconDirectory({{"a.png", 16, 1}, {"b.png", 128, 2}}, {100, 70000});
    ASSERT_EQ(6u + 2 * 14, bytes.size());
    EXPECT_EQ(2, bytes[4]);
    EXPECT_EQ(16, bytes[6]);
    EXPECT_EQ(16, bytes[7]);
    EXPECT_EQ(std::string("\x64\0\0\0\x01\0", 6), bytes.substr(6 + 8, 6));
    EXPECT_EQ(static_cast<char>(128), bytes[20]);
    EXPECT_EQ(static_cast<char>(128), bytes[21]);
    EXPECT_EQ(std::string("\0\0\0\0\x70\x11\x01\0\x02\0", 10), bytes.substr(20 + 4, 10));
}
