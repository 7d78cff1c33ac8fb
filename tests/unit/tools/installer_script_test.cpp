#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/tool_runner.h"
#include "tests/unit/tools/export_fixture.h"
#include "tools/velmora-tool/installer_script.h"

namespace fs = std::filesystem;

TEST(InstallerScript, InstallsPerUserAndRemovesExactlyWhatItInstalled)
{
    InstallerFacts facts;
    facts.appName = "Price $5";
    facts.title = "Star \"Catcher\"";
    facts.executableName = "Price $5.exe";
    facts.version.version = {1, 2, 3, 0};
    facts.version.strings = {{"CompanyName", "Us"}, {"ProductVersion", "1.2.3"}};
    facts.sourceFolder = "/out";
    facts.files = {"Price $5.exe", "package.json", "www/a/b.js", "www/assets.dat"};
    facts.outFile = "/setup.exe";
    std::string script = InstallerScript(facts);
    for (const char* expected : {"RequestExecutionLevel user\n", "Target amd64-unicode\n", "SetDateSave off\n",
             "InstallDir \"$LOCALAPPDATA\\Programs\\Price $$5\"\n", "VIProductVersion \"1.2.3.0\"\n",
             "  SetOutPath \"$INSTDIR\\www\\a\"\n  File \"/out/www/a/b.js\"\n",
             "  CreateShortcut \"$SMPROGRAMS\\Star $\\\"Catcher$\\\".lnk\" \"$INSTDIR\\Price $$5.exe\"\n",
             "Section /o \"Desktop shortcut\" Desktop\n",
             "  Delete \"$INSTDIR\\www\\a\\b.js\"\n  Delete \"$INSTDIR\\www\\assets.dat\"\n",
             "  RMDir \"$INSTDIR\\www\\a\"\n  RMDir \"$INSTDIR\\www\"\n",
             "  RMDir /r \"$LOCALAPPDATA\\Price $$5\"\n", "/SD IDNO IDYES remove_data\n"})
        EXPECT_NE(std::string::npos, script.find(expected)) << expected << "\n---\n" << script;
    EXPECT_EQ(std::string::npos, script.find("RMDir /r \"$INSTDIR")) << "never more than it installed";
    EXPECT_EQ(script, InstallerScript(facts));
}

TEST(InstallerScript, TheIconHoldsThePngImages)
{
    std::string ico = IcoFile({{16, "PNG16"}, {256, "PNG256"}});
    EXPECT_EQ(std::string("\0\0\1\0\2\0", 6), ico.substr(0, 6));
    EXPECT_EQ(std::string("\x10\x10\0\0\1\0\x20\0\5\0\0\0\x26\0\0\0", 16), ico.substr(6, 16));
    EXPECT_EQ(std::string("\0\0\0\0\1\0\x20\0\6\0\0\0\x2b\0\0\0", 16), ico.substr(22, 16));
    EXPECT_EQ("PNG16PNG256", ico.substr(38));
}

TEST_F(ExportTest, AnInstallerIsMadeBesideTheExportOnlyWhenItsMakerIsThere)
{
    ToolResult made = RunTool({"export", app.path, Out("game"), "--installer"});
    ASSERT_EQ(0, made.exitCode) << made.err;
    EXPECT_TRUE(fs::is_regular_file(Out("My Game-setup.exe")));
    EXPECT_EQ("MZ", Contents(Out("My Game-setup.exe")).substr(0, 2));
    EXPECT_NE(std::string::npos, made.out.find(", with its installer beside it"));
    ToolResult exists = RunTool({"export", app.path, Out("again"), "--installer"});
    EXPECT_EQ(0u, exists.err.find("the installer file exists: ")) << exists.err;
    ToolResult missing = RunToolAfter("PATH=/nonexistent", {"export", app.path, Out("none"), "--installer"});
    EXPECT_EQ(0u, missing.err.find("--installer needs makensis, which is not installed (Debian package nsis)"))
        << missing.err;
    EXPECT_FALSE(fs::exists(Out("none")));
    EXPECT_FALSE(fs::exists(Out("again")));
}
