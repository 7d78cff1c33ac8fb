#include <gtest/gtest.h>

#include "json_readers.h"

using nlohmann::json;

TEST(JsonReaders, GiveTheDefaultUnlessTheMemberHasTheRightType)
{
    json value = json::parse(R"({"s":"text","i":-5,"u":4294967295,"f":-7.9,"b":false,"n":null,"a":[1],"o":{}})");
    EXPECT_EQ(GetStringOr(value, "s", "d"), "text");
    EXPECT_EQ(GetStringOr(value, "i", "d"), "d");
    EXPECT_EQ(GetStringOr(value, "n", "d"), "d");
    EXPECT_EQ(GetStringOr(value, "missing", "d"), "d");
    EXPECT_EQ(GetStringOr(json::array(), "s", "d"), "d");

    EXPECT_EQ(GetIntOr(value, "i", 9), -5);
    EXPECT_EQ(GetIntOr(value, "u", 9), -1);
    EXPECT_EQ(GetIntOr(value, "f", 9), -7);
    for (const char* key : {"s", "b", "n", "a", "o", "missing"})
        EXPECT_EQ(GetIntOr(value, key, 9), 9) << key;
    EXPECT_EQ(GetIntOr(json(3), "i", 9), 9);

    EXPECT_FALSE(GetBoolOr(value, "b", true));
    for (const char* key : {"s", "i", "n", "missing"})
        EXPECT_TRUE(GetBoolOr(value, key, true)) << key;
}
