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

}

TEST(SignatureCheck, UnsignedAndTamperedFilesAreRefused)
{
    EXPECT_FALSE(IsSignedByMicrosoft(L"Z:\\no\\such\\file.exe"));
    EXPECT_FALSE(IsSignedByMicrosoft(Utf8ToWide(GetExecutablePath())));

    std::string loader = ReadAll(SignedLoader());
    ASSERT_GT(loader.size(), 4096u);
    // One byte of code changed: the signed hash no longer matches.
    loader[loader.size() / 3] = static_cast<char>(loader[loader.size() / 3] ^ 0x5A);
    std::wstring tampered = WriteTemp(L"velmora-tampered-loader.dll", loader);
    EXPECT_FALSE(IsSignedByMicrosoft(tampered));
    DeleteFileW(tampered.c_str());
}

TEST(SignatureCheck, MicrosoftsSignedLoaderIsAccepted)
{
    EXPECT_TRUE(IsSignedByMicrosoft(SignedLoader()));
}
