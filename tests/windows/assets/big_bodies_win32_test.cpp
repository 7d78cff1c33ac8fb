#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <string>

#include "assets/body_streams_win32.h"
#include "assets/bundle_image.h"
#include "assets/disk_files_win32.h"
#include "common/paths_win32.h"
#include "tests/support/bundle_bytes.h"

namespace {

const std::string Marker = "the last bytes of a big file";

// A sparse file of the given size that ends with Marker, after head.
void WriteSparse(const std::string& path, const std::string& head, uint64_t size, const std::string& after = "")
{
    HANDLE file = CreateFileW(PlatformPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &done, nullptr);
    WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &done, nullptr);
    LARGE_INTEGER at = {};
    at.QuadPart = static_cast<LONGLONG>(head.size() + size - Marker.size());
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    std::string tail = Marker + after;
    ASSERT_TRUE(WriteFile(file, tail.data(), static_cast<DWORD>(tail.size()), &done, nullptr));
    CloseHandle(file);
}

// A bundle whose one entry "big.bin" has the given size: the blob chunk's
// bytes are a hole but for Marker at their end.
void WriteBigBundle(const std::string& path, uint64_t size)
{
    std::string head = BundleBytes().Header().Text("blob").U64(size).bytes;
    std::string fdir = Directory(1, DirectoryEntry("big.bin", 0, size));
    WriteSparse(path, head, size, BundleBytes().Chunk("fdir", fdir).bytes);
}

std::string ReadAll(IStream* stream, uint64_t limit = UINT64_MAX)
{
    std::string bytes;
    std::string buffer(1 << 20, '\0');
    ULONG got = 0;
    while (bytes.size() < limit && SUCCEEDED(stream->Read(buffer.data(), static_cast<ULONG>(buffer.size()), &got)) &&
           got > 0)
        bytes.append(buffer.data(), got);
    return bytes;
}

uint64_t StreamSize(IStream* stream)
{
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    return stat.cbSize.QuadPart;
}

// The process's commit charge: what its own copies cost, without the views
// of files. (Wine reports it here; it leaves PrivateUsage at 0.)
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

class BigBodiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        appFolder = WideToUtf8(temp) + "velmora-big-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryW(PlatformPath(appFolder).c_str(), nullptr);
        CreateDirectoryW(PlatformPath(appFolder + "www").c_str(), nullptr);
    }

    void TearDown() override
    {
        bundle.Clear();
        image.reset();
        for (const char* name : {"assets.dat", "disk-big.bin"})
            DeleteFileW(PlatformPath(appFolder + "www\\" + name).c_str());
        RemoveDirectoryW(PlatformPath(appFolder + "www").c_str());
        RemoveDirectoryW(PlatformPath(appFolder).c_str());
    }

    void OpenBundle(uint64_t entrySize)
    {
        WriteBigBundle(appFolder + "www\\assets.dat", entrySize);
        MapBundle(appFolder + "www\\assets.dat", bundle, image);
    }

    ResourceAnswer Answer(const std::string& uri, const std::string* range = nullptr)
    {
        return AnswerResourceRequest({bundle, disk, appFolder + "www\\", '\\'}, uri, range);
    }

    IStream* Stream(const std::shared_ptr<IBodyStream>& body) { return static_cast<ComStreamBody&>(*body).stream.Get(); }

    std::string appFolder;
    AssetBundle bundle;
    std::shared_ptr<const MappedFile> image;
    DiskFilesWin32 disk;
};

}

TEST_F(BigBodiesTest, EntriesAndFilesOfMoreThanFourGigabytesAreServed)
{
    const uint64_t size = (4ull << 30) + 12345;
    OpenBundle(size);
    WriteSparse(appFolder + "www\\disk-big.bin", "", size);
    BodyStreamsWin32 bodies(bundle, image, appFolder + "www\\");
    std::string total = "/" + std::to_string(size);
    std::string nearEnd = "bytes=" + std::to_string(size - Marker.size()) + "-";
    std::string fromStart = "bytes=0-";
    for (const char* uri : {"big.bin", "disk-big.bin"}) {
        ResourceAnswer last = Answer(uri, &nearEnd);
        ASSERT_EQ(206, last.status) << uri;
        EXPECT_NE(std::string::npos, last.JoinedHeaders().find(
            "Content-Range: bytes " + std::to_string(size - Marker.size()) + "-" + std::to_string(size - 1) + total))
            << uri;
        EXPECT_EQ(Marker, ReadAll(Stream(bodies.Create(last)))) << uri;

        ResourceAnswer first = Answer(uri, &fromStart);
        EXPECT_NE(std::string::npos, first.JoinedHeaders().find("Content-Range: bytes 0-2097151" + total)) << uri;
        std::string piece = ReadAll(Stream(bodies.Create(first)));
        EXPECT_EQ(std::string(2u << 20, '\0'), piece) << uri;

        ResourceAnswer whole = Answer(uri);
        EXPECT_EQ(200, whole.status) << uri;
        std::shared_ptr<IBodyStream> body = bodies.Create(whole);
        EXPECT_EQ(size, StreamSize(Stream(body))) << uri;
        LARGE_INTEGER back = {};
        back.QuadPart = -static_cast<LONGLONG>(Marker.size());
        Stream(body)->Seek(back, STREAM_SEEK_END, nullptr);
        EXPECT_EQ(Marker, ReadAll(Stream(body))) << uri;
    }
}

TEST_F(BigBodiesTest, AGigabyteEntryIsReadWithoutACopy)
{
    const uint64_t size = 1ull << 30;
    OpenBundle(size);
    BodyStreamsWin32 bodies(bundle, image, appFolder + "www\\");
    SIZE_T before = PrivateBytes();
    std::shared_ptr<IBodyStream> body = bodies.Create(Answer("big.bin"));
    IStream* stream = Stream(body);
    std::string buffer(1 << 20, '\0');
    uint64_t read = 0;
    ULONG got = 0;
    SIZE_T most = before;
    while (SUCCEEDED(stream->Read(buffer.data(), static_cast<ULONG>(buffer.size()), &got)) && got > 0) {
        read += got;
        most = std::max(most, PrivateBytes());
    }
    EXPECT_EQ(size, read);
    EXPECT_EQ(Marker, buffer.substr(buffer.size() - Marker.size())) << "the last piece read";
    EXPECT_LT(most - before, SIZE_T(32) << 20) << "private bytes grew by " << (most - before);

    // The counter does see a copy: the same bytes copied once would show.
    SIZE_T unCopied = PrivateBytes();
    std::string copy(reinterpret_cast<const char*>(bundle.FileData(0)), 256u << 20);
    EXPECT_GT(PrivateBytes() - unCopied, SIZE_T(200) << 20);
}
