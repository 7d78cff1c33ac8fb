#include <gtest/gtest.h>

#include "webview/failure_budget.h"

TEST(FailureBudget, AdmitsTheLimitWithinTheSpanAndForgetsOlderFailures)
{
    using namespace std::chrono_literals;
    FailureBudget budget(3, 60s);
    FailureBudget::Clock::time_point start;
    EXPECT_TRUE(budget.Admit(start));
    EXPECT_TRUE(budget.Admit(start + 10s));
    EXPECT_TRUE(budget.Admit(start + 20s));
    EXPECT_FALSE(budget.Admit(start + 59s));
    // The first two have aged out; the refused one still counts.
    EXPECT_TRUE(budget.Admit(start + 75s));
    EXPECT_FALSE(budget.Admit(start + 76s));
    EXPECT_TRUE(budget.Admit(start + 200s));
}
