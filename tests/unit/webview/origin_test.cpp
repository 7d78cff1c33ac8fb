#include <gtest/gtest.h>

#include "webview/origin.h"

TEST(Origin, TheVirtualOriginAdmitsOnlyItsOwnPaths)
{
    EXPECT_TRUE(IsWithinOrigin("https://velmora.localhost/x", VirtualOrigin));
    EXPECT_TRUE(IsWithinOrigin("https://velmora.localhost/", VirtualOrigin));
    EXPECT_FALSE(IsWithinOrigin("https://velmora.localhost", VirtualOrigin));
    EXPECT_FALSE(IsWithinOrigin("https://velmora.localhost.evil.net/", VirtualOrigin));
    EXPECT_FALSE(IsWithinOrigin("HTTPS://velmora.localhost/x", VirtualOrigin));
    EXPECT_FALSE(IsWithinOrigin("", VirtualOrigin));
}

TEST(Origin, AnOriginWithoutSlashEndsAtABoundary)
{
    for (const char* url : {"https://example.com", "https://example.com/a", "https://example.com?q", "https://example.com#f"})
        EXPECT_TRUE(IsWithinOrigin(url, "https://example.com")) << url;
    for (const char* url : {"https://example.comx", "https://example.com.evil.net", "https://example.co", "https://example.com:8080"})
        EXPECT_FALSE(IsWithinOrigin(url, "https://example.com")) << url;
    EXPECT_TRUE(IsWithinOrigin("anything", ""));
}
