#include <gtest/gtest.h>

#include "window/dpi_scale.h"

TEST(DpiScale, RoundsUpAtCommonDpis)
{
    EXPECT_EQ(ScaleByFactor(1024, 1.0f), 1024);
    EXPECT_EQ(ScaleByFactor(1024, 120.0f / 96.0f), 1280);
    EXPECT_EQ(ScaleByFactor(768, 120.0f / 96.0f), 960);
    EXPECT_EQ(ScaleByFactor(1024, 144.0f / 96.0f), 1536);
    EXPECT_EQ(ScaleByFactor(768, 144.0f / 96.0f), 1152);
    EXPECT_EQ(ScaleByFactor(1, 120.0f / 96.0f), 2);
    EXPECT_EQ(ScaleByFactor(-3, 1.5f), -4); // -4.5 rounds toward zero
    EXPECT_EQ(ScaleByFactor(0, 1.5f), 0);
    EXPECT_EQ(ScaleByFactor(INT32_MAX, 2.0f), INT32_MAX);
}
