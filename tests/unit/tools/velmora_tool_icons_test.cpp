#include <gtest/gtest.h>

#include "tests/support/pe_builder.h"
#include "tests/support/tool_runner.h"

namespace {

const std::string List = R"({"q7-app-icons": [
    {"src": "icons/16.png", "width": 16, "height": 16},
    {"src": "icons/48.png", "width": 48, "height": 48},
    {"src": "icons/256.png", "width": 256.9, "height": 256}]})";

}

TEST(VelmoraToolIcons, PrintsTheEntriesAndTheChosenExecutable)
{
    TempFolder folder;
    folder.Write("package.json", List);
    ToolResult noExe = RunTool({"icons", folder.path});
    EXPECT_EQ(0, noExe.exitCode);
    EXPECT_EQ("1 16 icons/16.png\n2 256 icons/256.png\nexe -\n", noExe.out);

    folder.Write("notification_helper.exe", MinimalPe(0x400));
    folder.Write("Game.exe", MinimalPe(0x400));
    ToolResult chosen = RunTool({"icons", folder.path + "/"});
    EXPECT_EQ(0, chosen.exitCode);
    EXPECT_EQ("1 16 icons/16.png\n2 256 icons/256.png\nexe Game.exe\n", chosen.out);

    folder.Write("Game.exe", MinimalPe(0x400, 16));
    ToolResult overlay = RunTool({"icons", folder.path});
    EXPECT_EQ(1, overlay.exitCode);
    EXPECT_EQ("executable has data after its last section\n", overlay.err);
}

TEST(VelmoraToolIcons, ExplainsWhyAFolderYieldsNothing)
{
    TempFolder folder;
    ToolResult none = RunTool({"icons", folder.path});
    EXPECT_EQ(1, none.exitCode);
    EXPECT_EQ("no icon list file\n", none.err);

    folder.Write("icons.json", R"({"q7-app-icons": [{"src": "a.png", "width": 24, "height": 24}]})");
    ToolResult skipped = RunTool({"icons", folder.path});
    EXPECT_EQ(1, skipped.exitCode);
    EXPECT_EQ("no accepted icon\n", skipped.err);

    folder.Write("package.json", "{\"q7-app-icons\": [] // none\n}");
    ToolResult badJson = RunTool({"icons", folder.path});
    EXPECT_EQ(1, badJson.exitCode);
    EXPECT_NE(std::string::npos, badJson.err.find("parse error"));
    EXPECT_EQ("", badJson.out);
}
