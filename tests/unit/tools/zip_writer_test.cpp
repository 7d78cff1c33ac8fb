#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/temp_folder.h"
#include "tools/velmora-tool/shipping/zip_writer.h"

namespace fs = std::filesystem;

namespace {

// What a reader says of the zip, or the reader's failure.
std::string Read(const std::string& command, const TempFolder& folder)
{
    std::string full = command + " >'" + folder.path + "/said.txt' 2>&1";
    if (std::system(full.c_str()) != 0)
        return "failed: " + folder.Read("said.txt");
    return folder.Read("said.txt");
}

}

// A file past 4 GiB (sparse here) and one placed past 4 GiB: the zip64
// extension where a value needs it, read by three readers that check every
// byte against its checksum.
TEST(ZipWriter, FilesAndPlacesPastFourGigabytesUseTheZip64Extension)
{
    TempFolder folder;
    fs::create_directories(folder.path + "/game");
    fs::resize_file(folder.Write("game/big.bin", ""), (uint64_t {4} << 30) + 10);
    folder.Write("game/after.txt", "after the big one");
    std::string zip = folder.path + "/game.zip";
    WriteStoredZip(folder.path + "/game", {"big.bin", "after.txt"}, "game", zip, [] {});
    EXPECT_GT(fs::file_size(zip), uint64_t {4} << 30);

    std::string python = Read("python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                              "assert z.testzip() is None; print([(i.filename, i.file_size) for i in z.infolist()]); "
                              "print(z.read('game/after.txt').decode())\" '" + zip + "'", folder);
    EXPECT_EQ("[('game/big.bin', 4294967306), ('game/after.txt', 17)]\nafter the big one\n", python);
    EXPECT_NE(std::string::npos, Read("unzip -tq '" + zip + "'", folder).find("No errors detected"))
        << Read("unzip -tq '" + zip + "'", folder);
    std::string sevenZip = Read("7zz t '" + zip + "'", folder);
    EXPECT_NE(std::string::npos, sevenZip.find("Everything is Ok")) << sevenZip << " (scripts/setup.sh installs 7zip)";
}

TEST(ZipWriter, APlainZipStaysPlain)
{
    TempFolder folder;
    folder.Write("game/a.txt", "a");
    std::string zip = folder.path + "/game.zip";
    WriteStoredZip(folder.path + "/game", {"a.txt"}, "game", zip, [] {});
    std::string bytes = folder.Read("game.zip");
    EXPECT_EQ(std::string::npos, bytes.find("PK\x06\x06")) << "no zip64 end record";
    EXPECT_EQ(22u + 2 * (30 + 10) + 16 + 1, bytes.size()) << "headers, names, the byte, the end record";
}
