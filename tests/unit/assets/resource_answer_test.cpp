#include <gtest/gtest.h>

#include <filesystem>

#include "assets/resource_answer.h"
#include "assets/std_disk_files.h"
#include "tests/support/bundle_bytes.h"
#include "tests/support/temp_folder.h"

namespace {

std::string Hundred()
{
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += static_cast<char>('A' + i % 26);
    return bytes;
}

// A bundle holding "index.html", "both.txt" and "hundred.bin", beside a www
// folder holding "both.txt", "Index.html", "disk.bin" (100 bytes) and a folder.
class ResourceAnswerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string blob = "<html>" + std::string("bundle") + Hundred();
        image = BundleBytes().Header().Chunk("blob", blob).Chunk("fdir",
            Directory(3, DirectoryEntry("index.html", 0, 6) + DirectoryEntry("both.txt", 6, 6) +
                             DirectoryEntry("hundred.bin", 12, 100))).bytes;
        bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
        bundle.Parse();
        folder.Write("app/www/both.txt", "disk");
        folder.Write("app/www/Index.html", "<disk>");
        folder.Write("app/www/disk.bin", Hundred());
        folder.Write("app/www/img/a b.png", "png");
        folder.Write("app/www/empty.txt", "");
        folder.Write("app/www/levels/index.html", "<level>");
        folder.Write("app/www/what?.txt", "asked");
        folder.Write("app/package.json", "{}");
        folder.Write("secret.txt", "secret");
    }

    ResourceAnswer Answer(const std::string& uri, const char* range = nullptr)
    {
        std::string value = range ? range : "";
        return AnswerResourceRequest(Site(), uri, range ? &value : nullptr);
    }

    ResourceSite Site() { return {bundle, disk, folder.path + "/app/www/", '/'}; }

    std::string Body(const ResourceAnswer& answer)
    {
        const ResourceBody& body = answer.body;
        if (body.kind == ResourceBody::Kind::BundleSlice)
            return std::string(reinterpret_cast<const char*>(bundle.FileData(body.offset)), body.length);
        if (body.kind == ResourceBody::Kind::NotFoundText)
            return std::string(NotFoundText, body.length);
        if (body.kind == ResourceBody::Kind::None)
            return "<none>";
        std::string relative = body.diskPath.substr(folder.path.size() + 1);
        return folder.Read(relative).substr(body.offset, body.length);
    }

    void ExpectNotFound(const std::string& uri)
    {
        ResourceAnswer answer = Answer(uri);
        EXPECT_EQ(answer.status, 404) << uri;
        EXPECT_EQ(answer.reason, "Not Found");
        EXPECT_EQ(answer.JoinedHeaders(), "Cache-Control: no-store") << uri;
        EXPECT_EQ(Body(answer), "File not found");
    }

    std::string image;
    AssetBundle bundle;
    StdDiskFiles disk;
    TempFolder folder;
};

}

TEST_F(ResourceAnswerTest, WholeFilesFromBundleAndDisk)
{
    ResourceAnswer page = Answer("index.html");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.reason, "OK");
    EXPECT_EQ(page.JoinedHeaders(),
        "Cache-Control: no-store\nContent-Type: text/html; charset=utf-8\nAccept-Ranges: bytes\nContent-Length: 6");
    EXPECT_EQ(Body(page), "<html>");

    EXPECT_EQ(Body(Answer("both.txt")), "bundle");
    EXPECT_EQ(Body(Answer("Index.html")), "<disk>");
    ResourceAnswer spaced = Answer("img/a%20b.png");
    EXPECT_EQ(spaced.status, 200);
    EXPECT_EQ(spaced.body.kind, ResourceBody::Kind::DiskFile);
    EXPECT_EQ(Body(spaced), "png");
    ResourceAnswer empty = Answer("empty.txt");
    EXPECT_EQ(empty.status, 200);
    EXPECT_EQ(empty.headers.back(), "Content-Length: 0");
}

TEST_F(ResourceAnswerTest, MissingFoldersAndEscapesAreNotFound)
{
    ExpectNotFound("missing.png");
    ExpectNotFound("img");
    ExpectNotFound("img/");
    ExpectNotFound("img/?a b.png");
    ExpectNotFound("../package.json");
    ExpectNotFound("..%2Fpackage.json");
    ExpectNotFound("img/..%5C..%5Cpackage.json");
    ExpectNotFound("%2E%2E/%2E%2E/secret.txt");
    ExpectNotFound("%2Fetc%2Fpasswd");
    ExpectNotFound("both.txt%00.png");
}

TEST_F(ResourceAnswerTest, RangesFromBundleAndDiskAgree)
{
    struct Case {
        const char* range;
        const char* contentRange;
        int length;
    };
    const Case cases[] = {
        {"bytes=0-", "bytes 0-99/100", 100},
        {"bytes=10-19", "bytes 10-19/100", 10},
        {"bytes=-10", "bytes 90-99/100", 10},
        {"bytes=-100", "bytes 0-99/100", 100},
        {"bytes=0-0", "bytes 0-0/100", 1},
        {"  bytes= 10-19 \r\n", "bytes 10-19/100", 10},
        {"bytes=0-100", "bytes 0-99/100", 100},
        {"bytes=-101", "bytes 0-99/100", 100},
        {"Bytes=0-9", "bytes 0-9/100", 10},
    };
    for (const char* uri : {"hundred.bin", "disk.bin"}) {
        for (const Case& c : cases) {
            ResourceAnswer answer = Answer(uri, c.range);
            EXPECT_EQ(answer.status, 206) << uri << c.range;
            EXPECT_EQ(answer.reason, "Partial Content");
            ASSERT_EQ(answer.headers.size(), 5u);
            EXPECT_EQ(answer.headers[2], "Accept-Ranges: bytes");
            EXPECT_EQ(answer.headers[3], std::string("Content-Range: ") + c.contentRange) << uri << c.range;
            EXPECT_EQ(answer.headers[4], "Content-Length: " + std::to_string(c.length)) << uri << c.range;
            EXPECT_EQ(Body(answer), Body(Answer("hundred.bin", c.range)));
            EXPECT_EQ(Body(answer).size(), static_cast<size_t>(c.length));
        }
        for (const char* bad : {"bytes=100-", "bytes=100-100", "bytes=20-10", "bytes=5", "bytes=", "bytes=-0",
                 "bytes=a-b", "bytes=99999999999999999999-"}) {
            ResourceAnswer answer = Answer(uri, bad);
            EXPECT_EQ(answer.status, 416) << uri << bad;
            EXPECT_EQ(answer.reason, "Range Not Satisfiable");
            EXPECT_EQ(answer.JoinedHeaders(), "Cache-Control: no-store\nContent-Type: application/octet-stream\n"
                                              "Accept-Ranges: bytes\nContent-Range: bytes */100");
            EXPECT_EQ(answer.body.kind, ResourceBody::Kind::None);
        }
    }
    ResourceAnswer empty = Answer("empty.txt", "bytes=0-");
    EXPECT_EQ(empty.status, 416);
    EXPECT_EQ(empty.headers.back(), "Content-Range: bytes */0");
}

// Cache-busting queries and folder requests, as engines' loaders and
// service workers send them; the query reaches neither the lookup nor the
// answer.
TEST_F(ResourceAnswerTest, QueriesAreCutAndFoldersAnswerTheirIndexPage)
{
    for (const char* uri : {"index.html?cachebust=658951441", "", "?v=2", "index.html#top"}) {
        ResourceAnswer page = Answer(uri);
        EXPECT_EQ(page.status, 200) << uri;
        EXPECT_EQ(page.requestPath, "index.html") << uri;
        EXPECT_EQ(Body(page), "<html>") << uri;
        EXPECT_EQ(page.JoinedHeaders().find('?'), std::string::npos) << uri;
    }
    EXPECT_EQ(Body(Answer("levels/?from=menu")), "<level>");
    EXPECT_EQ(Body(Answer("what%3F.txt?q=1")), "asked");
    ExpectNotFound("levels");
    ExpectNotFound("what?.txt");
    for (const char* uri : {"hundred.bin?t=1", "disk.bin?_t=2#x"}) {
        ResourceAnswer part = Answer(uri, "bytes=10-19");
        EXPECT_EQ(part.status, 206) << uri;
        EXPECT_EQ(part.headers[3], "Content-Range: bytes 10-19/100") << uri;
        EXPECT_EQ(Body(part), Hundred().substr(10, 10)) << uri;
    }
    EXPECT_EQ(Answer("both.txt?v=2").headers[1], "Content-Type: text/plain; charset=utf-8")
        << "the type comes from the name, not the query";
}

TEST_F(ResourceAnswerTest, DiskRangeBodies)
{
    EXPECT_EQ(Answer("disk.bin", "bytes=0-").body.kind, ResourceBody::Kind::DiskFile);
    ResourceAnswer slice = Answer("disk.bin", "bytes=1-2");
    EXPECT_EQ(slice.body.kind, ResourceBody::Kind::DiskSlice);
    EXPECT_EQ(slice.body.offset, 1u);
    EXPECT_EQ(slice.body.length, 2u);
    ResourceAnswer failed = InternalErrorAnswer(slice);
    EXPECT_EQ(failed.status, 500);
    EXPECT_EQ(failed.reason, "Internal Server Error");
    // No length or range that the missing body would contradict.
    EXPECT_EQ(failed.JoinedHeaders(), "Cache-Control: no-store\nContent-Type: application/octet-stream\nAccept-Ranges: bytes");
    EXPECT_EQ(failed.body.kind, ResourceBody::Kind::None);
    EXPECT_EQ(slice.status, 206); // the failed answer itself is left as it was
}

TEST_F(ResourceAnswerTest, FilesBeyondFourGigabytesKeepTheirSizes)
{
    std::string big = folder.path + "/app/www/big.bin";
    std::filesystem::resize_file(folder.Write("app/www/big.bin", ""), 5000000000ULL);
    ResourceAnswer whole = Answer("big.bin");
    EXPECT_EQ(whole.headers.back(), "Content-Length: 5000000000");
    ResourceAnswer tail = Answer("big.bin", "bytes=4999999990-");
    EXPECT_EQ(tail.headers[3], "Content-Range: bytes 4999999990-4999999999/5000000000");
    EXPECT_EQ(tail.body.offset, 4999999990ULL);
    EXPECT_EQ(tail.body.length, 10u);
    std::filesystem::remove(big);
}

TEST_F(ResourceAnswerTest, OpenEndedRangesOfBigFilesComeInBoundedPieces)
{
    std::string big = folder.path + "/app/www/movie.mp4";
    std::filesystem::resize_file(folder.Write("app/www/movie.mp4", ""), 1500000000ULL);
    const std::string window = std::to_string(OpenRangeWindow);
    ResourceAnswer first = Answer("movie.mp4", "bytes=0-");
    EXPECT_EQ(first.status, 206);
    EXPECT_EQ(first.headers[3], "Content-Range: bytes 0-" + std::to_string(OpenRangeWindow - 1) + "/1500000000");
    EXPECT_EQ(first.headers[4], "Content-Length: " + window);
    EXPECT_EQ(first.body.length, OpenRangeWindow);
    ResourceAnswer next = Answer("movie.mp4", ("bytes=" + window + "-").c_str());
    EXPECT_EQ(next.body.offset, OpenRangeWindow);
    EXPECT_EQ(next.body.length, OpenRangeWindow);
    ResourceAnswer suffix = Answer("movie.mp4", "bytes=-1000000000");
    EXPECT_EQ(suffix.headers[3], "Content-Range: bytes 500000000-" + std::to_string(500000000 + OpenRangeWindow - 1)
            + "/1500000000");
    // A closed range is served as asked, and no range gives the whole file.
    EXPECT_EQ(Answer("movie.mp4", "bytes=0-99999999").body.length, 100000000u);
    EXPECT_EQ(Answer("movie.mp4").body.length, 1500000000u);
    std::filesystem::remove(big);
}

TEST_F(ResourceAnswerTest, CrossOriginIsolationIsAnOptInOnEveryAnswer)
{
    ResourceSite isolated = Site();
    isolated.crossOriginIsolation = true;
    const std::string rangeOfTen = "bytes=0-9", pastTheEnd = "bytes=500-";
    const std::vector<std::string> policies = {"Cross-Origin-Opener-Policy: same-origin",
        "Cross-Origin-Embedder-Policy: require-corp", "Cross-Origin-Resource-Policy: same-origin"};
    for (const char* uri : {"hundred.bin", "disk.bin", "missing.png"}) {
        for (const std::string* range : {static_cast<const std::string*>(nullptr), &rangeOfTen, &pastTheEnd}) {
            ResourceAnswer answer = AnswerResourceRequest(isolated, uri, range);
            ASSERT_GE(answer.headers.size(), 4u);
            EXPECT_EQ(std::vector<std::string>(answer.headers.begin() + 1, answer.headers.begin() + 4), policies) << uri;
            ResourceAnswer plain = AnswerResourceRequest(Site(), uri, range);
            answer.headers.erase(answer.headers.begin() + 1, answer.headers.begin() + 4);
            EXPECT_EQ(answer.JoinedHeaders(), plain.JoinedHeaders()) << uri;
        }
    }
}
