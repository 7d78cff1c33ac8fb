#include <gtest/gtest.h>

#include "mime_table.h"

TEST(MimeTable, HoldsFiftyLowerCaseEntries)
{
    const auto& entries = HostMimeTable().Entries();
    EXPECT_EQ(entries.size(), 50u);
    for (const auto& [extension, type] : entries) {
        EXPECT_EQ(extension[0], '.');
        for (char c : extension)
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << extension;
    }
}

TEST(MimeTable, LastDotDecides)
{
    EXPECT_EQ(mimeTypeFor("INDEX.HTML"), "text/html; charset=utf-8");
    EXPECT_EQ(mimeTypeFor("index.Html"), "text/html; charset=utf-8");
    EXPECT_EQ(mimeTypeFor("archive.tar.gz"), "application/octet-stream");
    EXPECT_EQ(mimeTypeFor("README"), "application/octet-stream");
    EXPECT_EQ(mimeTypeFor(""), "application/octet-stream");
    EXPECT_EQ(mimeTypeFor("folder.old/file"), "application/octet-stream");
    EXPECT_EQ(mimeTypeFor("release.2/readme"), "application/octet-stream");
    EXPECT_EQ(mimeTypeFor("name."), "application/octet-stream");
    EXPECT_EQ(mimeTypeFor("music/a.opus"), "audio/ogg; codecs=opus");
    EXPECT_EQ(mimeTypeFor("data.scon"), "application/json");
    EXPECT_EQ(mimeTypeFor("data.scml"), "text/xml");
    EXPECT_EQ(mimeTypeFor("a.mp3"), "audio/mpeg");
    EXPECT_EQ(mimeTypeFor("a.mp4"), "video/mp4");
    EXPECT_EQ(mimeTypeFor("a.m4a"), "audio/mp4");
    EXPECT_EQ(mimeTypeFor("f.woff"), "application/font-woff");
    EXPECT_EQ(mimeTypeFor("f.woff2"), "font/woff2");
    EXPECT_EQ(mimeTypeFor("data.json?v=2"), "application/octet-stream");
}
