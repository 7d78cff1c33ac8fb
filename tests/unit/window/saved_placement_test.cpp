#include <gtest/gtest.h>

#include "window/saved_placement.h"

TEST(SavedPlacement, WrittenAndReadBack)
{
    SavedPlacement placement {{-1200, 40, -200, 800}, true, false};
    std::string text = SavedPlacementText(placement);
    EXPECT_EQ(R"({"left":-1200,"top":40,"right":-200,"bottom":800,"maximized":true,"fullscreen":false})"
              "\n",
        text);
    std::optional<SavedPlacement> back = ParseSavedPlacement(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(placement.normal, back->normal);
    EXPECT_TRUE(back->maximized);
    EXPECT_FALSE(back->fullscreen);
}

TEST(SavedPlacement, ADamagedOrHostileFileIsNeverTrusted)
{
    const std::string good = R"("maximized":false,"fullscreen":true)";
    for (const std::string& text : std::vector<std::string> {
             std::string(""),
             std::string("{\"left\":0,\"top\":0,\"right\":800"),
             std::string("[0,0,800,600]"),
             std::string(R"({"left":0,"top":0,"right":800,"bottom":600})"),
             std::string(R"({"left":0,"top":0,"right":800,"bottom":600,"maximized":1,"fullscreen":false})"),
             R"({"left":0,"top":0,"right":"800","bottom":600,)" + good + "}",
             R"({"left":0.5,"top":0,"right":800,"bottom":600,)" + good + "}",
             R"({"left":800,"top":0,"right":0,"bottom":600,)" + good + "}",
             R"({"left":0,"top":0,"right":0,"bottom":600,)" + good + "}",
             R"({"left":0,"top":0,"right":40000,"bottom":600,)" + good + "}",
             R"({"left":-2147483648,"top":0,"right":2147483647,"bottom":600,)" + good + "}",
             R"({"left":0,"top":0,"right":800,"bottom":1e300,)" + good + "}",
             R"({"left":0,"top":0,"right":800,"bottom":18446744073709551615,)" + good + "}",
         })
        EXPECT_FALSE(ParseSavedPlacement(text)) << text;
    std::optional<SavedPlacement> fine = ParseSavedPlacement(R"({"left":0,"top":0,"right":800,"bottom":600,)" + good + "}");
    ASSERT_TRUE(fine);
    EXPECT_TRUE(fine->fullscreen);
}

TEST(SavedPlacement, AFrameMustStillBeReachableOnSomeScreen)
{
    const std::vector<WindowRect> screens = {{0, 0, 1920, 1040}, {1920, -200, 3200, 824}};
    EXPECT_TRUE(IsReachable({100, 100, 900, 700}, screens));
    EXPECT_TRUE(IsReachable({2000, -150, 2600, 300}, screens)) << "on the second monitor, above the first";
    EXPECT_TRUE(IsReachable({-700, 10, 100, 600}, screens)) << "100 pixels of the title bar are enough";
    EXPECT_FALSE(IsReachable({-701, 10, 99, 600}, screens));
    EXPECT_FALSE(IsReachable({3300, 100, 3900, 500}, screens)) << "a monitor that is gone";
    EXPECT_FALSE(IsReachable({100, -300, 900, 700}, screens)) << "a title bar above every screen";
    EXPECT_FALSE(IsReachable({100, 1030, 900, 1500}, screens)) << "a title bar below the work area";
    EXPECT_TRUE(IsReachable({1860, 100, 1910, 300}, {{1800, 0, 1920, 1040}})) << "a narrow frame wholly on screen";
    EXPECT_FALSE(IsReachable({100, 100, 900, 700}, {}));
}
