#include <gtest/gtest.h>

#include <stdexcept>

#include "Quorvel/icon_list.h"

namespace {

std::string Ids(const std::vector<IconEntry>& icons)
{
    std::string out;
    for (const IconEntry& icon : icons)
        out += std::to_string(icon.id) + ":" + std::to_string(icon.size) + ":" + icon.src + " ";
    return out;
}

std::string List(const std::string& elements)
{
    return R"({"name": "game", "q7-app-icons": [)" + elements + "]}";
}

}

TEST(IconList, KeepsOnlySquareAllowedSizesNumberedWithoutGaps)
{
    auto icons = ReadIconList(List(R"(
        {"src": "a.png", "width": 16, "height": 16},
        {"src": "b.png", "width": 48, "height": 48},
        {"src": "c.png", "width": 32, "height": 16},
        {"src": "d.png", "width": 300, "height": 300},
        {"src": "e.png", "width": 32, "height": 32},
        {"src": "f.png", "width": 32, "height": 32, "type": "image/png"})"));
    EXPECT_EQ("1:16:a.png 2:32:e.png 3:32:f.png ", Ids(icons));
}

TEST(IconList, ConvertsFractionsAndBooleansToIntegers)
{
    EXPECT_EQ("1:256:big.png ", Ids(ReadIconList(List(R"({"src": "big.png", "width": 256.9, "height": 256})"))));
    EXPECT_EQ("", Ids(ReadIconList(List(R"({"src": "one.png", "width": true, "height": true})"))));
    EXPECT_EQ("1:64:ü/64 px.png ", Ids(ReadIconList(List(R"({"src": "ü/64 px.png", "width": 64.0, "height": 64})"))));
}

TEST(IconList, AcceptsByteOrderMarkAndTextUpToNul)
{
    EXPECT_EQ(1u, ReadIconList("\xEF\xBB\xBF" + List(R"({"src": "a.png", "width": 16, "height": 16})")).size());
    EXPECT_EQ(1u, ReadIconList(List(R"({"src": "a.png", "width": 16, "height": 16})") + std::string("\0junk", 5)).size());
}

TEST(IconList, RejectsMalformedFilesAndWrongTypes)
{
    const char* bad[] = {
        "",
        "[]",
        "null",
        "{\"q7-app-icons\": {}}",
        "{\"name\": \"no list\"}",
        "{\"q7-app-icons\": [] /* comment */}",
        "{\"q7-app-icons\": []} trailing",
        "{\"q7-app-icons\": [16]}",
        "{\"q7-app-icons\": [{\"src\": 1, \"width\": 16, \"height\": 16}]}",
        "{\"q7-app-icons\": [{\"src\": \"a.png\", \"width\": \"16\", \"height\": 16}]}",
        "{\"q7-app-icons\": [{\"src\": \"a.png\", \"width\": 16, \"height\": null}]}",
        "{\"q7-app-icons\": [{\"width\": 16, \"height\": 16}]}",
        "{\"q7-app-icons\": [{\"src\": \"a.png\", \"height\": 16}]}",
    };
    for (const char* text : bad)
        EXPECT_THROW(ReadIconList(text), std::exception) << text;
}

TEST(IconList, AnEmptyListIsNotAnError)
{
    EXPECT_TRUE(ReadIconList("{\"q7-app-icons\": []}").empty());
}
