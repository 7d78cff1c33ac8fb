#include <gtest/gtest.h>

#include "webview/shell_url.h"

TEST(ShellUrl, AbsoluteUrlsOfAnySchemeButFileGoToTheShell)
{
    for (const char* url : {"https://example.com/help", "mailto:team@example.com", "steam://run/1", "ms-settings:",
             "a+b.c-d://x"})
        EXPECT_TRUE(MayOpenWithShell(url)) << url;
}

TEST(ShellUrl, LocalFilesDrivesAndRelativeTextsDoNot)
{
    for (const char* url : {"file:///C:/Windows/System32/calc.exe", "FILE://server/share/run.bat", "File:x",
             "C:\\evil.exe", "c:/evil.exe", "relative/page.html", "", ":no-scheme", "1http://x", "ht tp://x",
             "-x://y", "http"})
        EXPECT_FALSE(MayOpenWithShell(url)) << url;
}
