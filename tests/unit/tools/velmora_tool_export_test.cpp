#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "Quorvel/pe_layout.h"
#include "Quorvel/resource_tree.h"
#include "tests/support/pe_builder.h"
#include "tests/support/tool_runner.h"
#include "tests/unit/tools/export_fixture.h"
#include "tools/velmora-tool/commands/command_line.h"
#include "tools/velmora-tool/resources/version_resource.h"

namespace fs = std::filesystem;

TEST_F(ExportTest, AnExportHoldsTheProgramsTheSettingsTheIconsAndTheBundle)
{
    ToolResult result = RunTool({"export", app.path, Out()});
    ASSERT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ((std::set<std::string> {"My Game.exe", "Quorvel.exe", "WebView2Loader.dll", "package.json",
                  "icons/16.png", "icons/256.png", "Tandrel.dll", "www/assets.dat"}),
        FilesIn(Out()));
    ResourceTree resources = ResourcesOf(Contents(Out() + "/My Game.exe"));
    auto resource = [&resources](uint16_t type, ResourceName name, uint16_t language) {
        auto found = resources.find({ResourceName::Number(type), std::move(name), language});
        return found == resources.end() ? std::string("(none)") : found->second;
    };
    EXPECT_EQ("16", resource(3, ResourceName::Number(1), 0));
    EXPECT_EQ("256", resource(3, ResourceName::Number(2), 0));
    EXPECT_EQ(6u + 2 * 14, resource(14, ResourceName::Text(u"MAINICON"), 0).size());
    EXPECT_EQ("<assembly/>", resource(24, ResourceName::Number(1), 0x409));
    std::string version = resource(16, ResourceName::Number(1), 0x409);
    // The block layout is read back by the platform under Wine; here only
    // that the names went in.
    EXPECT_NE(std::string::npos, version.find(Utf16("ProductName")));
    EXPECT_NE(std::string::npos, version.find(Utf16("My Game") + std::string(2, '\0')));
    EXPECT_NE(std::string::npos, version.find(Utf16("FileDescription")));
    EXPECT_EQ(5u, resources.size()) << "the manifest, two icons, their group and the version";
    EXPECT_EQ(Package, Contents(Out() + "/package.json"));
    EXPECT_EQ(0u, result.out.find("exported " + fs::weakly_canonical(Out()).string() + ": 2 files packed, bundle "))
        << result.out;
    EXPECT_EQ("0 19 index.html\n19 6 js/game.js\n", RunTool({"ls", Out() + "/www/assets.dat"}).out)
        << "the settings, the icons, the extension and what the app leaves out are not packed";
    EXPECT_EQ("play()", Body(RunTool({"get", Out(), "js/game.js"}).out));
    EXPECT_EQ("1 16 icons/16.png\n2 256 icons/256.png\nexe My Game.exe\n", RunTool({"icons", Out()}).out);
    EXPECT_EQ(1, std::distance(fs::directory_iterator(work.path), fs::directory_iterator()))
        << "nothing is left beside the output";
}

TEST_F(ExportTest, RefusalsSayWhyAndWriteNothing)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string text;
    };
    TempFolder outside;
    outside.Write("secret.txt", "secret");
    const Case cases[] = {
        {"no package.json", [&] { fs::remove(app.path + "/package.json"); },
            "no package.json in " + app.path + ": an app needs one with at least a \"name\""},
        {"invalid package.json", [&] { app.Write("package.json", R"({"window": {}})"); }, "package.json: invalid name"},
        {"unreadable package.json", [&] { app.Write("package.json", "{"); }, "package.json: "},
        {"missing start page", [&] { fs::remove(app.path + "/index.html"); }, "missing start page: index.html"},
        {"missing icon image", [&] { fs::remove(app.path + "/icons/256.png"); }, "missing icon image: icons/256.png"},
        {"link out", [&] { fs::create_symlink(outside.path + "/secret.txt", app.path + "/js/secret.txt"); },
            "link out of the app folder: js/secret.txt -> "},
        {"link to a folder", [&] { fs::create_symlink(app.path + "/js", app.path + "/again"); },
            "link to a folder, not followed: again"},
        {"output not empty", [&] { work.Write("out/keep.txt", "mine"); },
            "the output folder is not empty: " + Out() + " (--replace replaces it)"},
        {"output inside the app", [&] {}, "the output folder lies inside the app folder"},
        {"host that takes no resources", [&] { programs.Write("Velmora.exe", "host program"); },
            "cannot write the icons into My Game.exe: not a pe image"},
    };
    for (const Case& c : cases) {
        SetUp();
        fs::remove_all(app.path + "/again");
        fs::remove_all(app.path + "/js/secret.txt");
        fs::remove_all(Out());
        c.prepare();
        std::string out = std::string(c.what) == "output inside the app" ? app.path + "/dist" : Out();
        ToolResult result = RunTool({"export", app.path, out});
        EXPECT_EQ(1, result.exitCode) << c.what;
        EXPECT_EQ(0u, result.err.find(c.text)) << c.what << ": " << result.err;
        EXPECT_FALSE(fs::exists(app.path + "/dist")) << c.what;
        bool untouched = std::string(c.what) == "output not empty" ? FilesIn(Out()) == std::set<std::string> {"keep.txt"}
                                                                   : !fs::exists(Out());
        EXPECT_TRUE(untouched) << c.what;
        EXPECT_EQ(fs::exists(Out()) ? 1 : 0, std::distance(fs::directory_iterator(work.path), fs::directory_iterator()))
            << c.what << ": nothing beside the output";
    }
}

TEST_F(ExportTest, ReplaceLooseAndNamesThatNeedMakingSafe)
{
    ASSERT_EQ(0, RunTool({"export", app.path, Out()}).exitCode) << "an earlier export, to replace";
    app.Write("package.json", R"({"name": "Quorvel"})");
    fs::remove(app.path + "/icons/16.png");
    ToolResult loose = RunTool({"export", app.path, Out(), "--replace", "--loose"});
    ASSERT_EQ(0, loose.exitCode) << loose.err;
    EXPECT_EQ((std::set<std::string> {"Quorvel_.exe", "Quorvel.exe", "WebView2Loader.dll", "package.json",
                  "Tandrel.dll", "www/index.html", "www/js/game.js", "www/icons/256.png", "www/notes/todo.txt"}),
        FilesIn(Out()))
        << "without an icon list the images are the app's files; never the icon updater's own name";
    EXPECT_EQ("play()", Body(RunTool({"get", Out(), "js/game.js"}).out));
}

TEST_F(ExportTest, AWindowSettingTheHostWouldReplaceIsWarnedAndTheExportGoesOn)
{
    app.Write("package.json", R"({"name": "Warned", "window": {"background-color": "#12345", "fullscreen": 1},
        "settings": {"close-request": true}})");
    ToolResult result = RunTool({"export", app.path, Out()});
    ASSERT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ("warning: package.json: \"window\" \u2192 \"background-color\": \"#12345\" is not a colour of the form "
              "\"#rrggbb\"; the host uses the system's window colour\n"
              "warning: package.json: \"window\" \u2192 \"fullscreen\": 1 is not true or false; the host uses false\n",
        result.err);
    EXPECT_TRUE(fs::is_regular_file(Out() + "/Warned.exe"));
}

TEST_F(ExportTest, TwoExportsAndTheirZipsAreTheSameBytes)
{
    ASSERT_EQ(0, RunTool({"export", app.path, Out("a/game"), "--zip", Out("a.zip")}).exitCode);
    ASSERT_EQ(0, RunTool({"export", app.path, Out("b/game"), "--zip", Out("b.zip")}).exitCode);
    std::set<std::string> files = FilesIn(Out("a/game"));
    ASSERT_EQ(files, FilesIn(Out("b/game")));
    for (const std::string& name : files)
        EXPECT_TRUE(Contents(Out("a/game/" + name)) == Contents(Out("b/game/" + name))) << name;
    EXPECT_TRUE(Contents(Out("a.zip")) == Contents(Out("b.zip")));

    std::string check = "python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                        "assert z.testzip() is None; print(' '.join(sorted(z.namelist())))\" '" + Out("a.zip") +
                        "' >'" + Out("names.txt") + "'";
    ASSERT_EQ(0, std::system(check.c_str()));
    EXPECT_EQ("game/My Game.exe game/Quorvel.exe game/Tandrel.dll game/WebView2Loader.dll game/icons/16.png "
              "game/icons/256.png game/package.json game/www/assets.dat\n",
        Contents(Out("names.txt")));
}

TEST(VersionFieldsTest, VersionsNamesAndOptionalStrings)
{
    VersionFields full = VersionFieldsOf(R"({"name": "Star", "version": "1.20.3", "company": "Us",
        "copyright": "(c) Us"})", "Star Catcher", "Star.exe");
    EXPECT_EQ((std::array<uint16_t, 4> {1, 20, 3, 0}), full.version);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>> {{"CompanyName", "Us"},
                  {"FileDescription", "Star Catcher"}, {"FileVersion", "1.20.3"}, {"InternalName", "Star"},
                  {"LegalCopyright", "(c) Us"}, {"OriginalFilename", "Star.exe"}, {"ProductName", "Star"},
                  {"ProductVersion", "1.20.3"}}),
        full.strings);
    for (const char* version : {"1.2.3-beta", "1.2.3.4.5", "70000", "1..2", "", "v1", "1.2."}) {
        VersionFields fields = VersionFieldsOf(std::string(R"({"name": "a", "version": ")") + version + "\"}", "", "a.exe");
        EXPECT_EQ((std::array<uint16_t, 4> {0, 0, 0, 0}), fields.version) << version;
        EXPECT_EQ((std::pair<std::string, std::string> {"FileVersion", "0.0.0.0"}), fields.strings[1]) << version;
        EXPECT_EQ((std::pair<std::string, std::string> {"FileDescription", "a"}), fields.strings[0]) << version;
    }
    EXPECT_EQ((std::array<uint16_t, 4> {65535, 0, 0, 7}), VersionFieldsOf(R"({"version": "65535.0.0.7"})", "t", "a.exe").version);
    VersionFields longest = VersionFieldsOf("{\"copyright\": \"" + std::string(40000, 'c') + "\"}", "t", "a.exe");
    EXPECT_THROW(VersionResource(longest), std::runtime_error);
}

// A newcomer's first questions answered by the tool itself: every command
// and every option described, with an example; errors name the option and
// exit 2; the version is the project's.
TEST(VelmoraToolHelp, EveryCommandAndOptionIsDescribedAndErrorsNameTheOption)
{
    std::function<int()> run;
    std::unique_ptr<CLI::App> commandLine = MakeCommandLine(run);
    std::vector<CLI::App*> commands = commandLine->get_subcommands({});
    EXPECT_EQ(7u, commands.size());
    ToolResult help = RunTool({"--help"});
    EXPECT_EQ(0, help.exitCode);
    for (CLI::App* command : commands) {
        const std::string name = command->get_name();
        EXPECT_FALSE(command->get_description().empty()) << name;
        EXPECT_NE(std::string::npos, help.out.find("\n  " + name + " ")) << name << " listed in --help";
        EXPECT_NE(std::string::npos, command->get_footer().find("Example:\n  velmora-tool " + name + " ")) << name;
        ToolResult commandHelp = RunTool({name, "--help"});
        EXPECT_EQ(0, commandHelp.exitCode) << name;
        for (const CLI::Option* option : command->get_options()) {
            EXPECT_FALSE(option->get_description().empty()) << name << " " << option->get_name();
            EXPECT_NE(std::string::npos, commandHelp.out.find(option->get_name(false, true))) << name << " "
                                                                                                << option->get_name();
        }
    }
    ToolResult version = RunTool({"--version"});
    EXPECT_EQ(0, version.exitCode);
    EXPECT_EQ(std::string(VELMORA_VERSION) + "\n", version.out);

    ToolResult unknown = RunTool({"expotr"});
    EXPECT_EQ(2, unknown.exitCode);
    EXPECT_EQ(0u, unknown.err.find("velmora-tool: unknown command \"expotr\"\n"));
    EXPECT_EQ(2, RunTool({"export", "only-one"}).exitCode);
    ToolResult wrongPort = RunTool({"serve", "game", "--port", "http"});
    EXPECT_EQ(2, wrongPort.exitCode);
    EXPECT_EQ(0u, wrongPort.err.find("--port: ")) << wrongPort.err;
    ToolResult unknownOption = RunTool({"export", "app", "out", "--fast"});
    EXPECT_EQ(2, unknownOption.exitCode);
    EXPECT_NE(std::string::npos, unknownOption.err.find("--fast")) << unknownOption.err;
    EXPECT_NE(std::string::npos, unknownOption.err.find("velmora-tool export --help")) << unknownOption.err;
}
