#include <gtest/gtest.h>

#include "assets/request_path.h"

// Expected values follow the platform's unescaping with escapes read as
// UTF-8 bytes and invalid sequences replaced, as Windows does.
TEST(RequestPath, DecodesEscapesAsUtf8)
{
    EXPECT_EQ(DecodeRequestPath("img/a%20b.png"), "img/a b.png");
    EXPECT_EQ(DecodeRequestPath("%C3%A9t%c3%a9.txt"), "\xC3\xA9t\xC3\xA9.txt");
    EXPECT_EQ(DecodeRequestPath("%F0%9F%8E%AE.png"), "\xF0\x9F\x8E\xAE.png");
    EXPECT_EQ(DecodeRequestPath("data.json?v=2"), "data.json?v=2");
    EXPECT_EQ(DecodeRequestPath("a%3Fb%23c"), "a?b#c");
    EXPECT_EQ(DecodeRequestPath("100%"), "100%");
    EXPECT_EQ(DecodeRequestPath("%zz%4"), "%zz%4");
    EXPECT_EQ(DecodeRequestPath("a+b"), "a+b");
    EXPECT_EQ(DecodeRequestPath(""), "");
    EXPECT_EQ(DecodeRequestPath("\xC3\xA9"), "\xC3\xA9");
}

TEST(RequestPath, InvalidEscapedUtf8BecomesReplacement)
{
    EXPECT_EQ(DecodeRequestPath("%FF"), "\xEF\xBF\xBD");
    EXPECT_EQ(DecodeRequestPath("a%C3"), "a\xEF\xBF\xBD");
    EXPECT_EQ(DecodeRequestPath("%E2%82x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(DecodeRequestPath("%C0%AF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(DecodeRequestPath("%ED%A0%80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(DecodeRequestPath("a%00b"), std::string("a\0b", 3));
}

TEST(RequestPath, TooLongResultsStayUndecoded)
{
    std::string longPath = std::string(2047, 'a') + "%20";
    EXPECT_EQ(DecodeRequestPath(longPath), longPath);
    std::string shortEnough = std::string(2046, 'a') + "%20";
    EXPECT_EQ(DecodeRequestPath(shortEnough), std::string(2046, 'a') + " ");
    // A character beyond U+FFFF takes two units.
    std::string astral = std::string(2046, 'a') + "%F0%9F%8E%AE";
    EXPECT_EQ(DecodeRequestPath(astral), astral);
}

TEST(RequestPath, DiskPathGuard)
{
    for (const char* safe : {"", "index.html", "img/a b.png", "a..b/c", "...x", "dir/./f", "data.json?v=2"})
        EXPECT_TRUE(IsSafeDiskPath(safe)) << safe;
    for (const char* unsafe : {"..", "../x", "a/../../x", "a\\..\\x", "a/..", "/etc/passwd", "\\x", "C:/x",
             "a:stream", "..\\..\\package.json", "index.html.", "index.html ", "dir./f", "dir /f", "a/...",
             "index.html::$DATA", "\\\\?\\C:\\x", "\\\\.\\CON", "C:secret.txt"})
        EXPECT_FALSE(IsSafeDiskPath(unsafe)) << unsafe;
    EXPECT_FALSE(IsSafeDiskPath(std::string("a\0b", 3)));
}

TEST(RequestPath, QueriesAndFragmentsNameNoFile)
{
    EXPECT_EQ(RequestPathOf("html5game/Game.js?cachebust=658951441"), "html5game/Game.js");
    EXPECT_EQ(RequestPathOf("data.json?v=2#top"), "data.json");
    EXPECT_EQ(RequestPathOf("page.html#a?b"), "page.html");
    EXPECT_EQ(RequestPathOf("a%20b.png?x=%3F"), "a b.png") << "the query is cut before decoding";
    EXPECT_EQ(RequestPathOf("what%3F.txt?q"), "what?.txt") << "an escaped \"?\" belongs to the name";
    EXPECT_EQ(RequestPathOf("a%23b.txt"), "a#b.txt");
    EXPECT_EQ(RequestPathOf(""), "index.html");
    EXPECT_EQ(RequestPathOf("?v=1"), "index.html");
    EXPECT_EQ(RequestPathOf("levels/"), "levels/index.html");
    EXPECT_EQ(RequestPathOf("levels/?id=2"), "levels/index.html");
    EXPECT_EQ(RequestPathOf("levels"), "levels") << "no redirect: a folder without \"/\" stays a folder";
    EXPECT_EQ(RequestPathOf("levels%2F"), "levels/index.html");
}
