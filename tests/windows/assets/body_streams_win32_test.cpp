#include <gtest/gtest.h>

#include <windows.h>

#include "assets/body_streams_win32.h"
#include "assets/disk_files_win32.h"
#include "common/paths_win32.h"
#include "tests/support/bundle_bytes.h"

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

// Everything a body's stream delivers, after checking its Stat size and Seek.
std::string ReadStream(const std::shared_ptr<IBodyStream>& body)
{
    if (!body)
        return "<none>";
    IStream* stream = static_cast<ComStreamBody&>(*body).stream.Get();
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
    return bytes;
}

class BodyStreamsTest : public ::testing::Test {
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
        bundle.Parse();
    }

    void TearDown() override
    {
        for (const char* name : {"disk.bin", "caf\xC3\xA9 au lait.txt"})
            DeleteFileW(PlatformPath(appFolder + "www\\" + name).c_str());
        RemoveDirectoryW(PlatformPath(appFolder + "www\\sub").c_str());
        RemoveDirectoryW(PlatformPath(appFolder + "www").c_str());
        RemoveDirectoryW(PlatformPath(appFolder).c_str());
    }

    ResourceAnswer Answer(const std::string& uri, const char* range = nullptr)
    {
        std::string value = range ? range : "";
        return AnswerResourceRequest({bundle, disk, appFolder + "www\\", '\\'}, uri, range ? &value : nullptr);
    }

    std::string Get(BodyStreamsWin32& bodies, const std::string& uri, const char* range = nullptr)
    {
        return ReadStream(bodies.Create(Answer(uri, range)));
    }

    std::string appFolder;
    std::string image;
    AssetBundle bundle;
    DiskFilesWin32 disk;
};

}

TEST_F(BodyStreamsTest, StreamsDeliverExactlyTheAnswer)
{
    BodyStreamsWin32 bodies(bundle, nullptr, appFolder + "www\\");
    EXPECT_EQ(Get(bodies, "index.html"), "<html>");
    EXPECT_EQ(Answer("disk.bin").body.kind, ResourceBody::Kind::DiskFile);
    EXPECT_EQ(Get(bodies, "disk.bin"), Hundred());
    EXPECT_EQ(Get(bodies, "caf%C3%A9%20au%20lait.txt"), "coffee");
    EXPECT_EQ(Get(bodies, "hundred.bin", "bytes=-10"), Hundred().substr(90));
    EXPECT_EQ(Get(bodies, "disk.bin", "bytes=10-19"), Hundred().substr(10, 10));

    EXPECT_EQ(Answer("sub").status, 404);
    EXPECT_EQ(Get(bodies, "sub"), "File not found");
    EXPECT_EQ(Get(bodies, "..%5Cwww%5Cdisk.bin"), "File not found");
    ResourceAnswer unsatisfiable = Answer("disk.bin", "bytes=100-");
    EXPECT_EQ(unsatisfiable.status, 416);
    EXPECT_EQ(bodies.Create(unsatisfiable), nullptr);
}

TEST_F(BodyStreamsTest, PartialDiskRequestsKeepTheFileOpenUntilReleased)
{
    BodyStreamsWin32 bodies(bundle, nullptr, appFolder + "www\\");
    std::string path = appFolder + "www\\disk.bin";
    EXPECT_EQ(Get(bodies, "disk.bin", "bytes=0-99"), Hundred());
    EXPECT_TRUE(MoveFileW(PlatformPath(path).c_str(), PlatformPath(path + ".moved").c_str()))
        << "a whole file is opened for its one answer only";
    MoveFileW(PlatformPath(path + ".moved").c_str(), PlatformPath(path).c_str());

    EXPECT_EQ(Get(bodies, "disk.bin", "bytes=1-2"), Hundred().substr(1, 2));
    EXPECT_EQ(Get(bodies, "disk.bin", "bytes=50-"), Hundred().substr(50));
    EXPECT_EQ(Get(bodies, "DISK.bin", "bytes=1-2"), Hundred().substr(1, 2));
    EXPECT_FALSE(DeleteFileW(PlatformPath(path).c_str())); // still open
    bodies.ReleaseOpenFiles();
    EXPECT_TRUE(DeleteFileW(PlatformPath(path).c_str()));
}

TEST_F(BodyStreamsTest, UnreachableBytesThrowInsteadOfChangingTheAnswer)
{
    BodyStreamsWin32 bodies(bundle, nullptr, appFolder + "www\\");
    HANDLE locked = CreateFileW(PlatformPath(appFolder + "www\\disk.bin").c_str(), GENERIC_READ, 0, nullptr,
        OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    ResourceAnswer answer = Answer("disk.bin", "bytes=1-2");
    EXPECT_THROW(bodies.Create(answer), std::runtime_error);
    EXPECT_THROW(bodies.Create(Answer("disk.bin")), std::runtime_error);
    CloseHandle(locked);
    EXPECT_EQ(answer.status, 206);
    EXPECT_EQ(Get(bodies, "disk.bin", "bytes=1-2"), Hundred().substr(1, 2)); // a failure is not cached
}

namespace {

// Cuts the file short from outside Windows, as a share that went away or a
// removed drive leaves an open file: Wine starts Unix programs, and the
// Unix side knows nothing of the reader's share mode. (Wine ignores the
// byte-range locks that would make the reads fail on Windows.)
bool TruncateFromUnix(const std::string& path, int size)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(PlatformPath(path).c_str()) : nullptr;
    if (!name)
        return false;
    std::wstring commandLine = L"truncate -s " + std::to_wstring(size) + L" \"" + Utf8ToWide(name) + L"\"";
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\usr\\bin\\truncate", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
            &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine does not wait for a Unix program through its process handle.
    for (int tries = 0; tries < 500; ++tries) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (GetFileAttributesExW(PlatformPath(path).c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow == DWORD(size))
            return true;
        Sleep(10);
    }
    return false;
}

}

TEST_F(BodyStreamsTest, ADiskFileThatCannotBeReadMidBodyGivesAReadError)
{
    BodyStreamsWin32 bodies(bundle, nullptr, appFolder + "www\\");
    std::shared_ptr<IBodyStream> body = bodies.Create(Answer("disk.bin"));
    ASSERT_NE(body, nullptr);
    IStream* stream = static_cast<ComStreamBody&>(*body).stream.Get();
    char buffer[40] = {};
    ULONG got = 0;
    ASSERT_EQ(S_OK, stream->Read(buffer, 40, &got));
    EXPECT_EQ(Hundred().substr(0, 40), std::string(buffer, got));

    ASSERT_TRUE(TruncateFromUnix(appFolder + "www\\disk.bin", 50));
    EXPECT_EQ(S_OK, stream->Read(buffer, 10, &got)) << "bytes still there still read";
    EXPECT_EQ(Hundred().substr(40, 10), std::string(buffer, got));
    EXPECT_EQ(STG_E_READFAULT, stream->Read(buffer, 40, &got)) << "an error, never a shorter body";
    EXPECT_EQ(0u, got);
    EXPECT_EQ(STG_E_READFAULT, stream->Read(buffer, 1, &got));
}
