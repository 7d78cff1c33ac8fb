#include <gtest/gtest.h>

#include "common/long_path.h"

TEST(LongPath, PrefixesAndTurnsSlashes)
{
    EXPECT_EQ(ToLongPath(L"C:/games/app/www/a.png"), L"\\\\?\\C:\\games\\app\\www\\a.png");
    EXPECT_EQ(ToLongPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(ToLongPath(L"C:"), L"C:");
    EXPECT_EQ(ToLongPath(L"a/b"), L"a\\b");
    EXPECT_EQ(ToLongPath(L""), L"");
    // The prefix test looks at the input before its slashes are turned.
    EXPECT_EQ(ToLongPath(L"//?/C:/x"), L"\\\\?\\\\\\?\\C:\\x");
}

TEST(LongPath, StripsOnlyALeadingPrefix)
{
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\C:\\x"), L"C:\\x");
    EXPECT_EQ(StripLongPathPrefix(L"C:\\x"), L"C:\\x");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?"), L"\\\\?");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\"), L"");
}
