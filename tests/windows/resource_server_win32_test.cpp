#include <gtest/gtest.h>

#include <windows.h>

#include "bundle_bytes.h"
#include "paths_win32.h"
#include "resource_server_win32.h"

namespace {

std::string Hundred()
{
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += static_cast<char>(i * 7 + 1);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(PlatformPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Everything a stream delivers, after checking its Stat size and Seek.
std::string ReadStream(IStream* stream)
{
    if (!stream)
        return "<none>";
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER end = {};
    stream->Seek(zero, STREAM_SEEK_END, &end);
    EXPECT_EQ(end.QuadPart, stat.cbSize.QuadPart);
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    std::string bytes;
    char buffer[7];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0)
        bytes.append(buffer, got);
    EXPECT_EQ(bytes.size(), stat.cbSize.QuadPart);
    stream->Release();
    return bytes;
}

class ResourceServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        appFolder = WideToUtf8(temp) + "velmora-server-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryW(PlatformPath(appFolder).c_str(), nullptr);
        CreateDirectoryW(PlatformPath(appFolder + "www").c_str(), nullptr);
        CreateDirectoryW(PlatformPath(appFolder + "www\\sub").c_str(), nullptr);
        WriteFileBytes(appFolder + "www\\disk.bin", Hundred());
        WriteFileBytes(appFolder + "www\\caf\xC3\xA9 au lait.txt", "coffee");
        image = BundleBytes().Header().Chunk("blob", "<html>" + Hundred()).Chunk("fdir",
            Directory(2, DirectoryEntry("index.html", 0, 6) + DirectoryEntry("hundred.bin", 6, 100))).bytes;
        bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
        bundle.parse();
    }

    void TearDown() override
    {
        for (const char* name : {"disk.bin", "caf\xC3\xA9 au lait.txt"})
            DeleteFileW(PlatformPath(appFolder + "www\\" + name).c_str());
        RemoveDirectoryW(PlatformPath(appFolder + "www\\sub").c_str());
        RemoveDirectoryW(PlatformPath(appFolder + "www").c_str());
        RemoveDirectoryW(PlatformPath(appFolder).c_str());
    }

    WebResponse Get(ResourceServer& server, const std::string& uri, const char* range = nullptr)
    {
        std::string value = range ? range : "";
        return server.Respond(uri, range ? &value : nullptr);
    }

    std::string appFolder;
    std::string image;
    AssetBundle bundle;
};

}

TEST_F(ResourceServerTest, StreamsDeliverExactlyTheAnswer)
{
    ResourceServer server(bundle, appFolder, "www\\");
    WebResponse page = Get(server, "index.html");
    EXPECT_EQ(page.answer.status, 200);
    EXPECT_EQ(ReadStream(page.body), "<html>");
    WebResponse disk = Get(server, "disk.bin");
    EXPECT_EQ(disk.answer.body.kind, ResourceBody::Kind::DiskFile);
    EXPECT_EQ(ReadStream(disk.body), Hundred());
    EXPECT_EQ(ReadStream(Get(server, "caf%C3%A9%20au%20lait.txt").body), "coffee");
    EXPECT_EQ(ReadStream(Get(server, "hundred.bin", "bytes=-10").body), Hundred().substr(90));
    EXPECT_EQ(ReadStream(Get(server, "disk.bin", "bytes=10-19").body), Hundred().substr(10, 10));

    WebResponse missing = Get(server, "sub");
    EXPECT_EQ(missing.answer.status, 404);
    EXPECT_EQ(ReadStream(missing.body), "File not found");
    WebResponse outside = Get(server, "..%5Cwww%5Cdisk.bin");
    EXPECT_EQ(outside.answer.status, 404);
    ReadStream(outside.body);
    WebResponse unsatisfiable = Get(server, "disk.bin", "bytes=100-");
    EXPECT_EQ(unsatisfiable.answer.status, 416);
    EXPECT_EQ(unsatisfiable.body, nullptr);
}

TEST_F(ResourceServerTest, PartialDiskRequestsMapEachPathOnce)
{
    ResourceServer server(bundle, appFolder, "www\\");
    ReadStream(Get(server, "disk.bin", "bytes=0-99").body);
    EXPECT_EQ(server.MappedFileCount(), 0u); // the whole file goes out as a file stream
    ReadStream(Get(server, "disk.bin", "bytes=1-2").body);
    ReadStream(Get(server, "disk.bin", "bytes=50-").body);
    EXPECT_EQ(server.MappedFileCount(), 1u);
    ReadStream(Get(server, "DISK.bin", "bytes=1-2").body);
    EXPECT_EQ(server.MappedFileCount(), 2u);

    std::string path = appFolder + "www\\disk.bin";
    EXPECT_FALSE(DeleteFileW(PlatformPath(path).c_str())); // still mapped
    server.releaseMappedFiles();
    EXPECT_EQ(server.MappedFileCount(), 0u);
    EXPECT_TRUE(DeleteFileW(PlatformPath(path).c_str()));
}

TEST_F(ResourceServerTest, UnopenableFileGivesInternalError)
{
    ResourceServer server(bundle, appFolder, "www\\");
    HANDLE locked = CreateFileW(PlatformPath(appFolder + "www\\disk.bin").c_str(), GENERIC_READ, 0, nullptr,
        OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    WebResponse response = Get(server, "disk.bin", "bytes=1-2");
    CloseHandle(locked);
    EXPECT_EQ(response.answer.status, 500);
    EXPECT_EQ(response.answer.reason, "Internal Server Error");
    EXPECT_EQ(response.answer.headers.size(), 5u);
    EXPECT_EQ(response.body, nullptr);
    EXPECT_EQ(server.MappedFileCount(), 0u);
}
