#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "assets/std_disk_files.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

TEST(StdDiskFiles, FoldersAndRegularFilesExistWithTheirSizes)
{
    TempFolder folder;
    folder.Write("www/a.txt", "12345");
    StdDiskFiles disk;
    std::string web = folder.path + "/www/";
    DiskEntry file = disk.Examine(web, web + "a.txt");
    EXPECT_TRUE(file.exists);
    EXPECT_FALSE(file.isFolder);
    EXPECT_EQ(5u, file.size);
    EXPECT_TRUE(disk.Examine(folder.path + "/", folder.path + "/www").isFolder);
    EXPECT_FALSE(disk.Examine(web, web + "missing").exists);
    EXPECT_FALSE(disk.Examine(web, web).exists) << "the folder itself is not inside itself";
}

TEST(StdDiskFiles, DevicesFifosAndBrokenLinksAreNotServed)
{
    TempFolder folder;
    folder.Write("www/keep", "");
    std::string web = folder.path + "/www/";
    fs::create_symlink("/dev/zero", web + "zero.bin");
    fs::create_symlink(web + "nowhere", web + "broken.bin");
    ASSERT_EQ(0, mkfifo((web + "pipe.bin").c_str(), 0600));
    StdDiskFiles disk;
    for (const char* name : {"zero.bin", "broken.bin", "pipe.bin"}) {
        DiskEntry entry = disk.Examine(web, web + name);
        EXPECT_FALSE(entry.exists) << name;
        EXPECT_EQ(0u, entry.size) << name;
    }
}

TEST(StdDiskFiles, LinksCountWhereTheyLeadNotWhereTheyStand)
{
    TempFolder folder;
    folder.Write("secret.txt", "secret");
    folder.Write("secrets/key.txt", "key");
    folder.Write("www/img/a.png", "png");
    folder.Write("elsewhere/data/b.bin", "bin");
    std::string web = folder.path + "/www/";
    fs::create_symlink(folder.path + "/secret.txt", web + "file-out.txt");
    fs::create_symlink(folder.path + "/secrets", web + "folder-out");
    fs::create_symlink("../secret.txt", web + "img/relative-out.txt");
    fs::create_symlink(web + "img/a.png", web + "inside.png");
    // A sibling whose name begins with the web folder's name is still outside.
    folder.Write("www2/x.txt", "x");
    fs::create_symlink(folder.path + "/www2/x.txt", web + "prefix.txt");
    StdDiskFiles disk;
    for (const char* name : {"file-out.txt", "folder-out", "folder-out/key.txt", "img/relative-out.txt", "prefix.txt"})
        EXPECT_FALSE(disk.Examine(web, web + name).exists) << name;
    EXPECT_EQ(3u, disk.Examine(web, web + "inside.png").size);

    // A web folder that is itself a link serves what lies below its target.
    fs::create_symlink(folder.path + "/elsewhere", folder.path + "/linked-www");
    std::string linked = folder.path + "/linked-www/";
    EXPECT_EQ(3u, disk.Examine(linked, linked + "data/b.bin").size);
    EXPECT_FALSE(disk.Examine(linked, linked + "../secret.txt").exists);
}
