#include <gtest/gtest.h>

#include "installer/progress_position.h"

TEST(ProgressPositionTest, ReportsMapOntoTheBarAsSinglePrecisionPercentages)
{
    EXPECT_EQ(std::nullopt, OnProgress(0, 0));
    EXPECT_EQ(std::nullopt, OnProgress(500, 0));
    EXPECT_EQ(0, OnProgress(0, 1000));
    EXPECT_EQ(33, OnProgress(1, 3));
    EXPECT_EQ(99, OnProgress(999, 1000));
    EXPECT_EQ(100, OnProgress(1000, 1000));
    EXPECT_EQ(100, OnProgress(0xFFFFFFFFu, 0xFFFFFFFFu));
}

TEST(ProgressPositionTest, CountsAbove2To31AreUnsigned)
{
    // Read as signed, these would be negative and give nonsense positions.
    EXPECT_EQ(50, OnProgress(0x80000000u, 0xFFFFFFFFu));
    EXPECT_EQ(75, OnProgress(0xC0000000u, 0xFFFFFFFFu));
    EXPECT_EQ(100, OnProgress(0x80000001u, 0x80000001u));
}

TEST(ProgressPositionTest, AReportPastItsTotalFillsTheBarWithoutOverflowing)
{
    EXPECT_EQ(100, OnProgress(2000, 1000));
    EXPECT_EQ(100, OnProgress(0xFFFFFFFFu, 1));
}
