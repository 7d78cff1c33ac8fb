#include <gtest/gtest.h>

#include "common/long_path.h"

TEST(LongPath, PrefixesFullDrivePathsAndTurnsSlashes)
{
    EXPECT_EQ(ToLongPath(L"C:/games/app/www/a.png"), L"\\\\?\\C:\\games\\app\\www\\a.png");
    EXPECT_EQ(ToLongPath(L"d:\\x"), L"\\\\?\\d:\\x");
    EXPECT_EQ(ToLongPath(L"C:\\"), L"\\\\?\\C:\\");
    // Neither a bare drive nor a relative path is a full path: "\\?\" would
    // make them name something else.
    EXPECT_EQ(ToLongPath(L"C:"), L"C:");
    EXPECT_EQ(ToLongPath(L"C:x\\y"), L"C:x\\y");
    EXPECT_EQ(ToLongPath(L"a/b"), L"a\\b");
    EXPECT_EQ(ToLongPath(L"\\rooted\\x"), L"\\rooted\\x");
    EXPECT_EQ(ToLongPath(L""), L"");
}

TEST(LongPath, NetworkPathsTakeTheUncForm)
{
    EXPECT_EQ(ToLongPath(L"\\\\server\\share\\app\\x"), L"\\\\?\\UNC\\server\\share\\app\\x");
    EXPECT_EQ(ToLongPath(L"//server/share/app/"), L"\\\\?\\UNC\\server\\share\\app\\");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\UNC\\server\\share\\app\\x"), L"\\\\server\\share\\app\\x");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\unc\\server\\share"), L"\\\\server\\share");
    EXPECT_EQ(StripLongPathPrefix(ToLongPath(L"\\\\s\\t\\u")), L"\\\\s\\t\\u");
    // "UNCX\" is a folder name on nothing, not the network form.
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\UNCX\\a"), L"\\\\?\\UNCX\\a");
}

TEST(LongPath, DeviceAndPrefixedPathsStayAsTheyAre)
{
    EXPECT_EQ(ToLongPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(ToLongPath(L"\\\\?\\UNC\\s\\t"), L"\\\\?\\UNC\\s\\t");
    EXPECT_EQ(ToLongPath(L"\\\\.\\pipe\\velmora"), L"\\\\.\\pipe\\velmora");
    EXPECT_EQ(ToLongPath(L"//?/C:/x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\.\\C:\\x"), L"\\\\.\\C:\\x");
    // A volume name has no plain form.
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\Volume{1}\\x"), L"\\\\?\\Volume{1}\\x");
}

TEST(LongPath, StripsOnlyALeadingPrefix)
{
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\C:\\x"), L"C:\\x");
    EXPECT_EQ(StripLongPathPrefix(L"C:\\x"), L"C:\\x");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?"), L"\\\\?");
    EXPECT_EQ(StripLongPathPrefix(L"\\\\?\\"), L"\\\\?\\");
    EXPECT_EQ(StripLongPathPrefix(L"C:\\\\?\\x"), L"C:\\\\?\\x");
}

TEST(LongPath, CompatibleFormIsPlainUpToMaxPath)
{
    std::wstring fits = L"C:\\" + std::wstring(256, L'a');
    std::wstring tooLong = fits + L"b";
    EXPECT_EQ(ToCompatiblePath(fits), fits);
    EXPECT_EQ(ToCompatiblePath(L"\\\\?\\" + fits), fits);
    EXPECT_EQ(ToCompatiblePath(tooLong), L"\\\\?\\" + tooLong);
    EXPECT_EQ(ToCompatiblePath(L"//server/share/a"), L"\\\\server\\share\\a");
    EXPECT_EQ(ToCompatiblePath(L"\\\\?\\UNC\\server\\share\\a"), L"\\\\server\\share\\a");
    std::wstring longShare = L"\\\\server\\share\\" + std::wstring(300, L'x');
    EXPECT_EQ(ToCompatiblePath(longShare), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x'));
}
