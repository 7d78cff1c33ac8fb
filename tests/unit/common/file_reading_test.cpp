#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "common/file_reading.h"
#include "tests/support/temp_folder.h"

TEST(FileReading, WholeFilesAndTheirStarts)
{
    TempFolder folder;
    std::string path = folder.Write("caf\xC3\xA9/data.bin", std::string("a\0b\r\nc", 6));
    EXPECT_EQ(std::string("a\0b\r\nc", 6), ReadWholeFile(path));
    EXPECT_EQ(6u, FileSize(path));
    EXPECT_EQ(std::string("a\0b", 3), ReadFileStart(path, 3));
    EXPECT_EQ(std::string("a\0b\r\nc", 6), ReadFileStart(path, 100));
    EXPECT_EQ("", ReadFileStart(path, 0));
}

TEST(FileReading, WhatIsNotARegularFileReadsAsEmpty)
{
    TempFolder folder;
    std::string fifo = folder.path + "/pipe";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    std::string zero = folder.path + "/zero";
    std::filesystem::create_symlink("/dev/zero", zero);
    for (const std::string& path : {fifo, zero, folder.path, folder.path + "/missing"}) {
        EXPECT_EQ("", ReadWholeFile(path)) << path;
        EXPECT_EQ(0u, FileSize(path)) << path;
    }
}
