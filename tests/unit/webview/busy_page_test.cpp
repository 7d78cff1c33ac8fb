#include <gtest/gtest.h>

#include "webview/busy_page.h"

TEST(BusyPage, ASpellIsAskedAboutOnceAndEndsWhenReportsStop)
{
    using namespace std::chrono_literals;
    BusyPage page;
    BusyPage::Clock::time_point start;
    EXPECT_TRUE(page.HasAnswered(start)) << "never reported";
    EXPECT_FALSE(page.Report(start));
    EXPECT_FALSE(page.Report(start + 9s));
    EXPECT_FALSE(page.Report(start + 18s));
    EXPECT_FALSE(page.HasAnswered(start + 27s));
    EXPECT_TRUE(page.Report(start + 27s)) << "a gap of 9 s is the same spell, 20 s long by now";
    EXPECT_FALSE(page.Report(start + 30s)) << "once a spell";
    EXPECT_TRUE(page.HasAnswered(start + 40s));
    EXPECT_FALSE(page.Report(start + 41s)) << "after a gap of 11 s, a new spell";
    EXPECT_FALSE(page.Report(start + 50s));
    EXPECT_FALSE(page.Report(start + 59s));
    EXPECT_TRUE(page.Report(start + 61s));
    page.Forget();
    EXPECT_TRUE(page.HasAnswered(start + 62s));
    EXPECT_FALSE(page.Report(start + 62s));
}
