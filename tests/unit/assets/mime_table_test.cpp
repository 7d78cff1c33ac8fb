#include <gtest/gtest.h>

#include "assets/mime_table.h"

TEST(MimeTable, EveryKnownExtensionIsFoundInAnyCase)
{
    const char* const known[] = {".html", ".htm", ".js", ".mjs", ".cjs", ".ts", ".css", ".json", ".xml", ".csv", ".tsv", ".txt",
        ".md", ".ini", ".wasm", ".wast", ".png", ".apng", ".jpg", ".jpeg", ".jxl", ".svg", ".webp", ".gif", ".tif",
        ".tiff", ".bmp", ".ico", ".avif", ".webm", ".m4a", ".mp3", ".mp4", ".mpg", ".mpeg", ".opus", ".ogg", ".ogv",
        ".flac", ".wav", ".mid", ".midi", ".kar", ".woff", ".woff2", ".ttf", ".otf", ".eot", ".zip", ".pdf", ".scml",
        ".scon"};
    MimeTable table;
    for (std::string extension : known) {
        std::string type = table.MimeTypeFor("file" + extension);
        EXPECT_NE(type, "application/octet-stream") << extension;
        for (char& c : extension)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        EXPECT_EQ(table.MimeTypeFor("FILE" + extension), type) << extension;
    }
}

TEST(MimeTable, LastDotDecides)
{
    EXPECT_EQ(MimeTypeFor("INDEX.HTML"), "text/html; charset=utf-8");
    EXPECT_EQ(MimeTypeFor("index.Html"), "text/html; charset=utf-8");
    EXPECT_EQ(MimeTypeFor("archive.tar.gz"), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor("Build/WebGL.framework.js.br"), MimeTypeFor("a.js")) << "typed by what it holds";
    EXPECT_EQ(MimeTypeFor("Build/WebGL.wasm.GZ"), "application/wasm");
    EXPECT_EQ(MimeTypeFor("Build/WebGL.data.br"), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor("a.br"), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor(".gz"), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor("page.html.br.gz"), "application/octet-stream") << "one suffix only";
    EXPECT_EQ(MimeTypeFor("README"), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor(""), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor("folder.old/file"), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor("release.2/readme"), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor("name."), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor("music/a.opus"), "audio/ogg; codecs=opus");
    EXPECT_EQ(MimeTypeFor("data.scon"), "application/json");
    EXPECT_EQ(MimeTypeFor("lib/index.mjs"), MimeTypeFor("lib/index.js")) << "a module script's own extension";
    EXPECT_EQ(MimeTypeFor("lib/index.cjs"), MimeTypeFor("lib/index.js"));
    EXPECT_EQ(MimeTypeFor("data.scml"), "text/xml");
    EXPECT_EQ(MimeTypeFor("a.mp3"), "audio/mpeg");
    EXPECT_EQ(MimeTypeFor("a.mp4"), "video/mp4");
    EXPECT_EQ(MimeTypeFor("a.m4a"), "audio/mp4");
    EXPECT_EQ(MimeTypeFor("f.woff"), "application/font-woff");
    EXPECT_EQ(MimeTypeFor("f.woff2"), "font/woff2");
    EXPECT_EQ(MimeTypeFor("data.json?v=2"), "application/octet-stream");
    // A zero byte after an extension makes another extension.
    EXPECT_EQ(MimeTypeFor(std::string_view("a.png\0", 6)), "application/octet-stream");
    EXPECT_EQ(MimeTypeFor(std::string_view("a.p\0g", 5)), "application/octet-stream");
}
