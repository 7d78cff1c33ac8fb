#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/support/tool_runner.h"
#include "tests/unit/tools/export_fixture.h"

// An app that asks for the Steam kit: the kit's library is its Tandrel.dll,
// its module a web file, Valve's library lies beside the host and is not
// packed, and what cannot work is refused before anything is written.
TEST_F(ExportTest, TheSteamKitShipsInPlaceOfTheAppsExtensionLibrary)
{
    programs.Write("SteamKit.dll", "steam kit");
    programs.Write("steam.mjs", "export const getUserName = () => 0;");
    const char* steamPackage = R"({"name": "Steam Game", "steam": {"app-id": 480}})";
    app.Write("package.json", steamPackage);

    ToolResult refused = RunTool({"export", app.path, Out()});
    EXPECT_EQ("package.json asks for the Steam kit (\"steam\"), and the app brings its own Tandrel.dll: the host "
              "loads one extension library only, so remove one of them\n",
        refused.err);
    EXPECT_NE(0, refused.exitCode);
    std::filesystem::remove(app.path + "/Tandrel.dll");

    ToolResult warned = RunTool({"export", app.path, Out()});
    ASSERT_EQ(0, warned.exitCode) << warned.err;
    EXPECT_EQ("warning: package.json: \"steam\": steam_api64.dll is missing from the app folder, so every Steam call will answer an error: "
              "copy Valve's redistributable (from the Steamworks SDK's redistributable_bin/win64) beside package.json\n",
        warned.err);
    EXPECT_EQ("steam kit", Contents(Out() + "/Tandrel.dll"));

    app.Write("steam_api64.dll", "valve");
    ToolResult shipped = RunTool({"export", app.path, Out(), "--replace"});
    ASSERT_EQ(0, shipped.exitCode) << shipped.err;
    EXPECT_EQ("", shipped.err);
    EXPECT_EQ((std::set<std::string>{"Steam Game.exe", "Quorvel.exe", "WebView2Loader.dll", "package.json", "Tandrel.dll",
                  "steam_api64.dll", "www/assets.dat"}),
        FilesIn(Out()));
    EXPECT_EQ("valve", Contents(Out() + "/steam_api64.dll"));
    EXPECT_EQ("export const getUserName = () => 0;", Body(RunTool({"get", Out(), "velmora/steam.mjs"}).out));
    EXPECT_EQ("404 Not Found\n", RunTool({"get", Out(), "steam_api64.dll"}).out.substr(0, 14)) << "not packed";

    app.Write("velmora/steam.mjs", "the app's own");
    EXPECT_EQ("the app holds a file at velmora/steam.mjs, where the export puts the Steam kit's module: move it\n",
        RunTool({"export", app.path, Out("other")}).err);
    std::filesystem::remove(app.path + "/velmora/steam.mjs");
    app.Write("package.json", R"({"name": "Steam Game", "steam": {"app-id": "480"}})");
    EXPECT_EQ("package.json: \"steam\" must be {\"app-id\": <the app's Steam id, a whole number>}\n",
        RunTool({"export", app.path, Out("other")}).err);
    std::filesystem::remove(programs.path + "/SteamKit.dll");
    app.Write("package.json", steamPackage);
    EXPECT_EQ("the Steam kit's SteamKit.dll is missing from " + programs.path + "\n",
        RunTool({"export", app.path, Out("other")}).err);
}
