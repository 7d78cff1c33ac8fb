#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "assets/disk_files_win32.h"
#include "assets/resource_answer.h"
#include "common/paths_win32.h"

namespace {

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(PlatformPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A real export: "www" with a page, names Windows treats with care, a file
// deeper than MAX_PATH, and a secret beside "www".
class DiskLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        app = WideToUtf8(temp) + "velmora-paths-" + std::to_string(GetCurrentProcessId()) + "\\";
        MakeFolder(app);
        MakeFolder(app + "www");
        MakeFile(app + "secret.txt", "secret");
        MakeFile(app + "www\\index.html", "<p>");
        MakeFile(app + "www\\caf\xC3\xA9 au lait.txt", "coffee");
        MakeFile(app + "www\\with space.txt", "spaced");
        std::string folder = app + "www";
        for (int level = 0; level < 6; ++level) {
            std::string name = "deep-folder-" + std::string(40, static_cast<char>('a' + level));
            folder += "\\" + name;
            deepUri += name + "/";
            MakeFolder(folder);
        }
        MakeFile(folder + "\\deep.txt", "deep");
        deepUri += "deep.txt";
    }

    // Everything made, files first, then the folders from the deepest up.
    void TearDown() override
    {
        for (const std::string& file : files)
            DeleteFileW(PlatformPath(file).c_str());
        for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
            RemoveDirectoryW(PlatformPath(*folder).c_str());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(PlatformPath(app).c_str())) << "left behind: " << app;
    }

    void MakeFolder(const std::string& path)
    {
        CreateDirectoryW(PlatformPath(path).c_str(), nullptr);
        folders.push_back(path);
    }

    void MakeFile(const std::string& path, const std::string& bytes)
    {
        WriteFileBytes(path, bytes);
        files.push_back(path);
    }

    int Status(const std::string& uri)
    {
        return AnswerResourceRequest({bundle, disk, app + "www\\", '\\'}, uri, nullptr).status;
    }

    std::string app;
    std::string deepUri;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    AssetBundle bundle;
    DiskFilesWin32 disk;
};

}

TEST_F(DiskLookupTest, NamesThatWindowsReadsAsSomethingElseAreNotFound)
{
    const char* const refused[] = {
        "CON", "nul.txt", "COM1", "aux", "CONIN$",
        "index.html.", "index.html%20", "secret.txt.", "secret.txt%20",
        "index.html::$DATA", "index.html:%3A$DATA",
        "..%5CSECRET~1.TXT", "%2E%2E/SECRET~1.TXT", "..%5Csecret.txt", "../secret.txt",
        "%5C%5C%3F%5CC:%5Cwindows%5Cwin.ini", "%5C%5C.%5CCON", "%5C%5Clocalhost%5Cc$%5Cwindows%5Cwin.ini",
        "C:secret.txt", "C:%5Cwindows%5Cwin.ini", "/secret.txt",
    };
    for (const char* uri : refused)
        EXPECT_EQ(404, Status(uri)) << uri;
    EXPECT_EQ(404, Status(std::string(33000, 'a'))) << "a name longer than 32,767 units";
}

TEST_F(DiskLookupTest, RealFilesInsideTheWebFolderAreServed)
{
    EXPECT_EQ(200, Status("index.html"));
    EXPECT_EQ(200, Status("caf%C3%A9%20au%20lait.txt"));
    EXPECT_EQ(200, Status("with%20space.txt"));
    ASSERT_GT(app.size() + deepUri.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(200, Status(deepUri)) << "a file deeper than MAX_PATH";
}
