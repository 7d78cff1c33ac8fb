#include <gtest/gtest.h>

#include <windows.h>

#include "common/file_reading.h"
#include "common/paths_win32.h"

namespace {

std::string TempFolder()
{
    wchar_t buffer[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, buffer);
    return WideToUtf8(std::wstring(buffer, length));
}

bool WriteTestFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(PlatformPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return wrote;
}

}

TEST(TextConversion, RoundTripsAndReplacesInvalidInput)
{
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(WideToUtf8(L""), "");
    EXPECT_EQ(Utf8ToWide("a\xC3\xA9\xF0\x9F\x8E\xAE"), L"a\u00E9\U0001F3AE");
    EXPECT_EQ(WideToUtf8(L"a\u00E9\U0001F3AE"), "a\xC3\xA9\xF0\x9F\x8E\xAE");
    EXPECT_EQ(Utf8ToWide("x\xFFy"), L"x\uFFFDy");
    EXPECT_EQ(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
}

TEST(Paths, ExecutablePathIsCanonicalAndCached)
{
    std::string path = GetExecutablePath();
    EXPECT_NE(path.rfind(".exe"), std::string::npos);
    EXPECT_NE(path.find('\\'), std::string::npos);
    EXPECT_NE(path.compare(0, 4, "\\\\?\\"), 0);
    EXPECT_EQ(path.find("\\.\\"), std::string::npos);
    EXPECT_EQ(GetExecutablePath(), path);
    EXPECT_EQ(ExecutableFolder(), path.substr(0, path.rfind('\\') + 1));
}

TEST(Paths, KnownFolderHasNoTrailingBackslash)
{
    std::string folder = GetKnownFolderPath(FOLDERID_LocalAppData);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_TRUE(FileExists(folder));
}

TEST(Paths, FileQueries)
{
    std::string folder = TempFolder();
    EXPECT_TRUE(FileExists(folder));
    EXPECT_FALSE(FileExists(folder + "velmora-missing-file"));
    EXPECT_EQ(FileSize(folder + "velmora-missing-file"), 0u);

    std::string small = folder + "velmora-size-\xC3\xA9.bin";
    ASSERT_TRUE(WriteTestFile(small, "12345"));
    EXPECT_TRUE(FileExists(small));
    EXPECT_EQ(FileSize(small), 5u);
    EXPECT_EQ(ReadWholeFile(small), "12345");
    EXPECT_EQ(ReadFileStart(small, 2), "12");
    DeleteFileW(PlatformPath(small).c_str());
}

TEST(Paths, FoldersAndDevicesReadAsEmpty)
{
    std::string folder = TempFolder();
    EXPECT_EQ(FileSize(folder), 0u);
    EXPECT_EQ(ReadWholeFile(folder), "");
    EXPECT_EQ(ReadWholeFile(folder + "velmora-missing-file"), "");
    // A device name is an ordinary file name behind the long-path prefix.
    EXPECT_EQ(ReadWholeFile(folder + "CON"), "");
    EXPECT_EQ(FileSize("\\\\.\\NUL"), 0u);
}

TEST(Paths, FilesBeyondMaxPathAreReadThroughTheLongForm)
{
    std::string folder = TempFolder() + std::string(120, 'd') + "\\";
    std::string deeper = folder + std::string(120, 'e') + "\\";
    std::string file = deeper + "package.json";
    ASSERT_GT(file.size(), 260u);
    ASSERT_TRUE(CreateDirectoryW(PlatformPath(folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(CreateDirectoryW(PlatformPath(deeper).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(WriteTestFile(file, "{\"name\":1}"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(FileSize(file), 10u);
    EXPECT_EQ(ReadWholeFile(file), "{\"name\":1}");
    EXPECT_EQ(CompatiblePlatformPath(file), L"\\\\?\\" + Utf8ToWide(file)) << "too long for the plain form";
    EXPECT_EQ(CompatiblePlatformPath(folder), Utf8ToWide(folder)) << "the plain form while it fits";
    DeleteFileW(PlatformPath(file).c_str());
    RemoveDirectoryW(PlatformPath(deeper).c_str());
    RemoveDirectoryW(PlatformPath(folder).c_str());
    EXPECT_FALSE(FileExists(folder));
}

TEST(Paths, FileSizeIsTrueBeyondTwoGigabytes)
{
    std::string big = TempFolder() + "velmora-big.bin";
    HANDLE file = CreateFileW(PlatformPath(big).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 3LL * 1024 * 1024 * 1024 + 7;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    EXPECT_EQ(FileSize(big), static_cast<uint64_t>(end.QuadPart));
    DeleteFileW(PlatformPath(big).c_str());
}
