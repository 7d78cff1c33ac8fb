#include <gtest/gtest.h>

#include "Quorvel/group_icon_directory.h"
#include "Quorvel/icon_writer.h"
#include "tests/unit/Quorvel/resource_model.h"

namespace {

const std::string Exe = "C:\\export\\Game.exe";
const std::string Folder = "C:\\export\\";

struct IconWriterTest : testing::Test {
    // Three new images and an executable whose group and six images are
    // all English.
    void SetUp() override
    {
        icons = {{"icons\\16.png", 16, 1}, {"icons\\32.png", 32, 2}, {"icons\\256.png", 256, 3}};
        for (const IconEntry& icon : icons)
            files.files[Folder + icon.src] = "new image " + std::to_string(icon.size);
        for (uint16_t id = 1; id <= 6; ++id)
            exe.Add(RtIcon, ResourceName::Number(id), EnglishUsLanguage, "old image " + std::to_string(id));
        exe.Add(RtGroupIcon, ResourceName::Text(u"APPICON"), EnglishUsLanguage, "old group");
        exe.Add(24, ResourceName::Number(1), 0, "manifest");
    }

    bool Write() { return WriteIconResources(exe, files, Exe, Folder, icons); }

    std::string NewGroup() const
    {
        return GroupIconDirectory(icons, {12, 12, 13});
    }

    std::vector<IconEntry> icons;
    MemoryExportFiles files;
    ResourceModel exe;
};

}

TEST_F(IconWriterTest, ReplacesEnglishImagesAndEveryOldGroup)
{
    ASSERT_TRUE(Write());
    EXPECT_EQ("3 #1 0: new image 16\n"
              "3 #2 0: new image 32\n"
              "3 #3 0: new image 256\n"
              "3 #4 1033: old image 4\n"
              "3 #5 1033: old image 5\n"
              "3 #6 1033: old image 6\n"
              "14 MAINICON 0: " + NewGroup() + "\n"
              "24 #1 0: manifest\n",
        exe.Describe());
    std::vector<std::string> expected = {"list " + Exe, "begin " + Exe,
        "write 3 #1 0", "delete 3 #1 1033", "write 3 #2 0", "delete 3 #2 1033", "write 3 #3 0", "delete 3 #3 1033",
        "delete 14 APPICON 1033", "write 14 MAINICON 0", "commit"};
    EXPECT_EQ(expected, exe.calls);
}

TEST_F(IconWriterTest, RunningTwiceGivesTheSameResourcesAsOnce)
{
    ASSERT_TRUE(Write());
    std::string once = exe.Describe();
    exe.calls.clear();
    ASSERT_TRUE(Write());
    EXPECT_EQ(once, exe.Describe());
    std::vector<std::string> expected = {"list " + Exe, "begin " + Exe, "write 3 #1 0", "write 3 #2 0", "write 3 #3 0",
        "delete 14 MAINICON 0", "write 14 MAINICON 0", "commit"};
    EXPECT_EQ(expected, exe.calls);
}

TEST_F(IconWriterTest, ALongerEarlierListLeavesItsExtraNeutralImages)
{
    ASSERT_TRUE(Write());
    icons.pop_back();
    ASSERT_TRUE(Write());
    EXPECT_NE(std::string::npos, exe.Describe().find("3 #3 0: new image 256\n"));
    EXPECT_NE(std::string::npos, exe.Describe().find("14 MAINICON 0: " + GroupIconDirectory(icons, {12, 12}) + "\n"));
}

TEST_F(IconWriterTest, AnyFailureBeforeTheCommitDiscardsEverything)
{
    std::string before = exe.Describe();

    files.files.erase(Folder + icons[1].src);
    EXPECT_FALSE(Write());
    EXPECT_EQ(before, exe.Describe());
    EXPECT_EQ("discard", exe.calls.back());
    EXPECT_EQ("delete 3 #1 1033", exe.calls[exe.calls.size() - 2]);

    files.files[Folder + icons[1].src] = "";
    EXPECT_FALSE(Write());
    EXPECT_EQ(before, exe.Describe());

    files.files[Folder + icons[1].src] = "back";
    exe.failUpdateOf = "#3";
    EXPECT_FALSE(Write());
    EXPECT_EQ(before, exe.Describe());

    exe.failUpdateOf = "MAINICON";
    exe.calls.clear();
    EXPECT_FALSE(Write());
    EXPECT_EQ(before, exe.Describe());
    EXPECT_EQ("discard", exe.calls.back());
}

TEST_F(IconWriterTest, AFailedBeginOrCommitReportsFailure)
{
    exe.failBegin = true;
    EXPECT_FALSE(Write());
    EXPECT_EQ((std::vector<std::string>{"list " + Exe, "begin " + Exe}), exe.calls);

    exe.failBegin = false;
    exe.failEnd = true;
    EXPECT_FALSE(Write());
}

TEST_F(IconWriterTest, AnExecutableThatCannotBeLoadedKeepsItsOldGroups)
{
    exe.loadable = false;
    ASSERT_TRUE(Write());
    std::string after = exe.Describe();
    EXPECT_NE(std::string::npos, after.find("3 #1 1033: old image 1\n"));
    EXPECT_NE(std::string::npos, after.find("14 APPICON 1033: old group\n"));
    EXPECT_NE(std::string::npos, after.find("14 MAINICON 0: "));
}
