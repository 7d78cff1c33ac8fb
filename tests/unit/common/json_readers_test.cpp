#include <gtest/gtest.h>

#include "common/json_readers.h"

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

TEST(JsonReaders, NestingIsBoundedAtTheLimit)
{
    auto nested = [](int depth, char open, char close, const std::string& inner) {
        return std::string(static_cast<size_t>(depth), open) + inner + std::string(static_cast<size_t>(depth), close);
    };
    EXPECT_NO_THROW(ParseJsonText(nested(MaxJsonDepth, '[', ']', "")));
    EXPECT_THROW(ParseJsonText(nested(MaxJsonDepth + 1, '[', ']', "")), std::exception);
    std::string objects;
    for (int i = 0; i < MaxJsonDepth + 1; ++i)
        objects += "{\"a\":";
    objects += "1" + std::string(static_cast<size_t>(MaxJsonDepth + 1), '}');
    EXPECT_THROW(ParseJsonText(objects), std::exception);
    EXPECT_THROW(ParseJsonText(nested(100000, '[', ']', "")), std::exception);
}
