#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "common/mapped_file.h"
#include "common/paths_win32.h"

namespace {

std::string WriteTempFile(const std::string& name, const std::string& bytes)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string path = WideToUtf8(temp) + name;
    HANDLE file = CreateFileW(PlatformPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

}

TEST(MappedFile, ViewsTheWholeFileAndHoldsItUntilGone)
{
    std::string path = WriteTempFile("velmora-mapped-\xC3\xA9.bin", "mapped bytes");
    {
        MappedFile mapped(path);
        ASSERT_EQ(mapped.Size(), 12u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped.Data()), 12), "mapped bytes");
        EXPECT_FALSE(DeleteFileW(PlatformPath(path).c_str()));
    }
    EXPECT_TRUE(DeleteFileW(PlatformPath(path).c_str()));
}

TEST(MappedFile, EmptyFilesHaveNoViewAndMissingOnesThrow)
{
    std::string path = WriteTempFile("velmora-mapped-empty.bin", "");
    {
        MappedFile empty(path);
        EXPECT_EQ(empty.Size(), 0u);
        EXPECT_EQ(empty.Data(), nullptr);
    }
    DeleteFileW(PlatformPath(path).c_str());
    EXPECT_THROW(MappedFile(path + ".missing"), std::runtime_error);
}
