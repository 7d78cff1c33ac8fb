#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/paths_win32.h"
#include "installer/signature_check_win32.h"

namespace {

// Microsoft's signed WebView2Loader.dll from the SDK, as Wine sees it.
std::wstring SignedLoader()
{
    return L"Z:" + Utf8ToWide(VELMORA_SIGNED_LOADER);
}

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring WriteTemp(const std::wstring& name, const std::string& bytes)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
    return path;
}

// The check as the installer makes it: through a handle that keeps the
// file from being written while it is open.
bool CheckedThroughHandle(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    bool signedByMicrosoft = IsSignedByMicrosoft(file, path);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return signedByMicrosoft;
}

}

TEST(SignatureCheck, UnsignedAndTamperedFilesAreRefused)
{
    EXPECT_FALSE(CheckedThroughHandle(L"Z:\\no\\such\\file.exe"));
    EXPECT_FALSE(CheckedThroughHandle(Utf8ToWide(GetExecutablePath())));

    std::string loader = ReadAll(SignedLoader());
    ASSERT_GT(loader.size(), 4096u);
    // One byte of code changed: the signed hash no longer matches.
    loader[loader.size() / 3] = static_cast<char>(loader[loader.size() / 3] ^ 0x5A);
    std::wstring tampered = WriteTemp(L"velmora-tampered-loader.dll", loader);
    EXPECT_FALSE(CheckedThroughHandle(tampered));
    DeleteFileW(tampered.c_str());
}

TEST(SignatureCheck, MicrosoftsSignedLoaderIsAccepted)
{
    EXPECT_TRUE(CheckedThroughHandle(SignedLoader()));
}

TEST(SignatureCheck, ItIsTheHandlesBytesThatAreChecked)
{
    std::string loader = ReadAll(SignedLoader());
    std::wstring copy = WriteTemp(L"velmora-held-loader.dll", loader);
    HANDLE held = CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // While the checked handle is open, nobody can write, replace or delete
    // the file it was opened on.
    EXPECT_EQ(CreateFileW(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                  nullptr),
        INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFileW(copy.c_str()));
    EXPECT_FALSE(MoveFileExW(WriteTemp(L"velmora-other.dll", "MZ").c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(IsSignedByMicrosoft(held, copy));
    EXPECT_FALSE(IsSignedByMicrosoft(INVALID_HANDLE_VALUE, copy));
    CloseHandle(held);
    DeleteFileW(copy.c_str());
    DeleteFileW(WriteTemp(L"velmora-other.dll", "").c_str());
}
