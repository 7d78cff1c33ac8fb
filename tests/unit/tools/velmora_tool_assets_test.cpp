#include <gtest/gtest.h>

#include <map>

#include <filesystem>
#include <fstream>

#include "tests/support/bundle_bytes.h"
#include "tests/support/tool_runner.h"

namespace {

std::string Pattern(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 2654435761u + seed) >> 13);
    return bytes;
}

std::string Body(const std::string& out)
{
    std::string::size_type blank = out.find("\n\n");
    return blank == std::string::npos ? "" : out.substr(blank + 2);
}

}

TEST(VelmoraToolAssets, PackListAndGetRoundTrip)
{
    TempFolder export_;
    const std::map<std::string, std::string> files = {
        {"index.html", "<html></html>"},
        {"img/a b.png", Pattern(5000, 1)},
        {"d\xC3\xA9j\xC3\xA0/caf\xC3\xA9.txt", "caf\xC3\xA9"},
        {"deep/er/still/x.json", "{}"},
        {"empty.txt", ""},
    };
    for (const auto& [name, content] : files)
        export_.Write("src/" + name, content);
    std::string bundle = export_.path + "/www/assets.dat";
    std::filesystem::create_directories(export_.path + "/www");

    ToolResult pack = RunTool({"pack", export_.path + "/src", bundle});
    ASSERT_EQ(pack.exitCode, 0) << pack.err;

    ToolResult ls = RunTool({"ls", bundle});
    EXPECT_EQ(ls.exitCode, 0);
    std::string expected;
    uint64_t offset = 0;
    for (const auto& [name, content] : files) {
        expected += std::to_string(offset) + " " + std::to_string(content.size()) + " " + name + "\n";
        offset += content.size();
    }
    EXPECT_EQ(ls.out, expected);

    for (const auto& [name, content] : files) {
        std::string uri;
        for (unsigned char c : name)
            uri += c == ' ' ? "%20" : c >= 0x80 ? "%" + std::string(1, "0123456789ABCDEF"[c >> 4]) +
                                                  std::string(1, "0123456789ABCDEF"[c & 15])
                                                : std::string(1, static_cast<char>(c));
        ToolResult get = RunTool({"get", export_.path, uri});
        EXPECT_EQ(get.out.substr(0, 7), "200 OK\n") << name;
        EXPECT_EQ(Body(get.out), content) << name;
    }

    ToolResult ranged = RunTool({"get", export_.path, "img/a%20b.png", "--range", "bytes=-10"});
    EXPECT_EQ(ranged.out, "206 Partial Content\nCache-Control: no-store\nContent-Type: image/png\nAccept-Ranges: bytes\n"
                          "Content-Range: bytes 4990-4999/5000\nContent-Length: 10\n\n" + files.at("img/a b.png").substr(4990));
    EXPECT_EQ(RunTool({"get", export_.path, "nothing"}).out, "404 Not Found\nCache-Control: no-store\n\nFile not found");

    // Queries and fragments name no file; a folder answers its index page.
    EXPECT_EQ(ranged.out, RunTool({"get", export_.path, "img/a%20b.png?cachebust=1#x", "--range", "bytes=-10"}).out);
    for (const char* uri : {"", "?v=2", "index.html?_t=1"})
        EXPECT_EQ(Body(RunTool({"get", export_.path, uri}).out), "<html></html>") << uri;
    EXPECT_EQ(Body(RunTool({"get", export_.path, "deep/er/still/x.json?gdCacheBurst=3"}).out), "{}");
    EXPECT_EQ(RunTool({"get", export_.path, "deep/"}).out.substr(0, 14), "404 Not Found\n") << "no index page there";
}

TEST(VelmoraToolAssets, LargeFileRoundTripsByteForByte)
{
    TempFolder export_;
    const size_t size = 300u << 20;
    std::string big = Pattern(size, 7);
    export_.Write("src/media/movie.mp4", big);
    export_.Write("www/loose.txt", "loose");
    std::string bundle = export_.path + "/www/assets.dat";
    ASSERT_EQ(RunTool({"pack", export_.path + "/src", bundle}).exitCode, 0);
    big.clear();
    std::string copy = Body(RunTool({"get", export_.path, "media/movie.mp4"}).out);
    EXPECT_EQ(copy.size(), size);
    EXPECT_TRUE(copy == Pattern(size, 7));
    EXPECT_EQ(Body(RunTool({"get", export_.path, "media/movie.mp4", "--range", "bytes=314572700-"}).out),
        Pattern(size, 7).substr(314572700));
    EXPECT_EQ(Body(RunTool({"get", export_.path, "loose.txt"}).out), "loose");
}

TEST(VelmoraToolAssets, ListsEntriesBeforeAFault)
{
    TempFolder folder;
    std::string image = BundleBytes().Header().Chunk("blob", "abcdef").Chunk("fdir",
        Directory(3, DirectoryEntry("one", 0, 2) + DirectoryEntry("two", 2, 4) + DirectoryEntry("bad", 0, 1, 0, 3))).bytes;
    ToolResult ls = RunTool({"ls", folder.Write("assets.dat", image)});
    EXPECT_EQ(ls.exitCode, 1);
    EXPECT_EQ(ls.out, "0 2 one\n2 4 two\n");
    EXPECT_EQ(ls.err, "bad file compression\n");
    EXPECT_EQ(RunTool({"ls", folder.Write("short.dat", "q7ab")}).err, "bundle read error\n");
}

TEST(VelmoraToolAssets, LinksOutOfTheWebFolderAreNotServed)
{
    TempFolder export_;
    export_.Write("secret.txt", "secret");
    export_.Write("www/page.html", "page");
    std::string web = export_.path + "/www/";
    std::filesystem::create_symlink("/etc/passwd", web + "passwd");
    std::filesystem::create_symlink("..", web + "up");
    std::filesystem::create_symlink("page.html", web + "alias.html");
    for (const char* uri : {"passwd", "up/secret.txt", "up%2Fsecret.txt"})
        EXPECT_EQ(RunTool({"get", export_.path, uri}).out.substr(0, 14), "404 Not Found\n") << uri;
    EXPECT_EQ(Body(RunTool({"get", export_.path, "alias.html"}).out), "page");
}
