#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "assets/std_disk_files.h"
#include "tests/support/temp_folder.h"

TEST(StdDiskFiles, FoldersAndRegularFilesExistWithTheirSizes)
{
    TempFolder folder;
    folder.Write("www/a.txt", "12345");
    StdDiskFiles disk;
    DiskEntry file = disk.Examine(folder.path + "/www/a.txt");
    EXPECT_TRUE(file.exists);
    EXPECT_FALSE(file.isFolder);
    EXPECT_EQ(5u, file.size);
    EXPECT_TRUE(disk.Examine(folder.path + "/www").isFolder);
    EXPECT_FALSE(disk.Examine(folder.path + "/www/missing").exists);
}

TEST(StdDiskFiles, DevicesFifosAndBrokenLinksAreNotServed)
{
    TempFolder folder;
    folder.Write("www/keep", "");
    std::string web = folder.path + "/www/";
    std::filesystem::create_symlink("/dev/zero", web + "zero.bin");
    std::filesystem::create_symlink(web + "nowhere", web + "broken.bin");
    ASSERT_EQ(0, mkfifo((web + "pipe.bin").c_str(), 0600));
    StdDiskFiles disk;
    for (const char* name : {"zero.bin", "broken.bin", "pipe.bin"}) {
        DiskEntry entry = disk.Examine(web + name);
        EXPECT_FALSE(entry.exists) << name;
        EXPECT_EQ(0u, entry.size) << name;
    }
}
