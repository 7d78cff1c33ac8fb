#include <gtest/gtest.h>

#include "webview/page_title.h"
#include "webview/shell_url.h"

TEST(ShellUrl, WebAndMailLinksGoToTheShell)
{
    for (const char* url : {"https://example.com/help", "HTTP://example.com", "mailto:team@example.com",
             "MailTo:x@example.com", "https://velmora.localhost.example.com/"})
        EXPECT_TRUE(MayOpenWithShell(url)) << url;
}

TEST(ShellUrl, OtherSchemesLocalFilesAndTheHostsOwnOriginDoNot)
{
    for (const char* url : {"file:///C:/Windows/System32/calc.exe", "FILE://server/share/run.bat", "search-ms:query=x",
             "ms-msdt:/id PCWDiagnostic", "steam://run/1", "ms-settings:", "javascript:alert(1)", "C:\\evil.exe",
             "relative/page.html", "", ":no-scheme", "http", "https://velmora.localhost/index.html",
             "HTTPS://Velmora.LocalHost/other.html"})
        EXPECT_FALSE(MayOpenWithShell(url)) << url;
}

TEST(PageTitle, OnlyATitleMadeFromTheUrlIsTheRuntimes)
{
    const std::string url = "https://velmora.localhost/index.html";
    EXPECT_TRUE(IsTitleMadeFromUrl(url, url));
    EXPECT_TRUE(IsTitleMadeFromUrl("velmora.localhost/index.html", url));
    EXPECT_FALSE(IsTitleMadeFromUrl("My Game", url));
    EXPECT_FALSE(IsTitleMadeFromUrl("index.html", url));
    EXPECT_FALSE(IsTitleMadeFromUrl("", url)) << "an empty title is the page's own";
    EXPECT_FALSE(IsTitleMadeFromUrl("about:blank", ""));
}
