#include <gtest/gtest.h>

#include <stdexcept>

#include "Quorvel/export_folder.h"
#include "Quorvel/quorvel_messages.h"
#include "tests/support/pe_builder.h"
#include "tests/unit/Quorvel/resource_model.h"

namespace {

const std::string Tool = "C:\\export\\";
const std::string List = R"({"q7-app-icons": [{"src": "icon.png", "width": 32, "height": 32}]})";

struct ExportFolderTest : testing::Test {
    // A folder with a list, an image and the given executables, the first
    // of which is the app.
    void AddFolder(const std::string& entry, const std::vector<std::string>& names)
    {
        files.files[Tool + entry + "package.json"] = List;
        files.files[Tool + entry + "icon.png"] = "png";
        for (const std::string& name : names)
            files.files[Tool + entry + name] = MinimalPe(0x400);
        files.executables[Tool + entry] = names;
    }

    MemoryExportFiles files;
    ResourceModel updater;
};

}

TEST_F(ExportFolderTest, UpdatesEveryQualifyingFolderInTableOrder)
{
    AddFolder("win64\\", {"Game.exe"});
    AddFolder("x64\\", {"Game.exe"});
    AddFolder("x86\\", {"Game.exe"});
    AddFolder("arm64\\", {"notification_helper.exe"});
    std::vector<std::string> updated = ProcessExport(files, updater, Tool);
    EXPECT_EQ((std::vector<std::string>{"x86\\Game.exe", "x64\\Game.exe", "win64\\Game.exe"}), updated);
    EXPECT_EQ("Successfully updated icons for the following executable files:\n\nx86\\Game.exe\nx64\\Game.exe\n"
              "win64\\Game.exe\n",
        UpdatedText(updated));
    EXPECT_EQ("begin " + Tool + "x86\\Game.exe", updater.calls[1]);
}

TEST_F(ExportFolderTest, NeverChoosesTheToolOrTheHelpers)
{
    EXPECT_EQ("Game.exe", ChooseTargetExecutable({"NOTIFICATION_HELPER.EXE", "Quorvel.exe", "DxWebSetup.exe", "Game.exe"}));
    EXPECT_EQ("Game.exe", ChooseTargetExecutable({"Game.exe", "quorvel.exe"}));
    EXPECT_EQ("", ChooseTargetExecutable({"quorvel.EXE", "notification_helper.exe"}));

    AddFolder("", {"Quorvel.exe", "notification_helper.exe"});
    EXPECT_EQ("", ProcessFolder(files, updater, Tool, ""));
    EXPECT_TRUE(updater.calls.empty());
}

TEST_F(ExportFolderTest, PackageJsonWithContentHidesIconsJson)
{
    AddFolder("", {"Game.exe"});
    files.files[Tool + "icons.json"] = List;
    files.files[Tool + "package.json"] = R"({"name": "game"})";
    EXPECT_THROW(LoadFolderIconList(files, Tool), std::exception);
    EXPECT_EQ("", ProcessFolder(files, updater, Tool, ""));

    files.files[Tool + "package.json"] = "";
    EXPECT_EQ(1u, LoadFolderIconList(files, Tool).size());
    files.files.erase(Tool + "package.json");
    EXPECT_EQ("Game.exe", ProcessFolder(files, updater, Tool, ""));

    files.files.erase(Tool + "icons.json");
    EXPECT_THROW(LoadFolderIconList(files, Tool), std::exception);
}

TEST_F(ExportFolderTest, AListWithoutAcceptedEntriesYieldsNothing)
{
    AddFolder("", {"Game.exe"});
    files.files[Tool + "package.json"] = R"({"q7-app-icons": [{"src": "icon.png", "width": 48, "height": 48}]})";
    EXPECT_EQ("", ProcessFolder(files, updater, Tool, ""));
    EXPECT_TRUE(updater.calls.empty());
}

TEST_F(ExportFolderTest, LeavesAnExecutableWithAnOverlayUntouched)
{
    AddFolder("", {"Game.exe"});
    files.files[Tool + "Game.exe"] = MinimalPe(0x400, 1);
    EXPECT_THROW(CheckNoOverlay(files, Tool + "Game.exe"), std::runtime_error);
    EXPECT_EQ("", ProcessFolder(files, updater, Tool, ""));
    files.files[Tool + "Game.exe"] = "not an executable";
    EXPECT_EQ("", ProcessFolder(files, updater, Tool, ""));
    EXPECT_TRUE(updater.calls.empty());

    files.files[Tool + "Game.exe"] = MinimalPe(0x400);
    EXPECT_EQ("Game.exe", ProcessFolder(files, updater, Tool, ""));
}
