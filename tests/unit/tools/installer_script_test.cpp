#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "tests/support/tool_runner.h"
#include "tests/unit/tools/export_fixture.h"
#include "tools/velmora-tool/shipping/installer_build.h"
#include "tools/velmora-tool/shipping/installer_script.h"

namespace fs = std::filesystem;

TEST(InstallerScript, InstallsPerUserAndRemovesExactlyWhatItInstalled)
{
    InstallerFacts facts;
    facts.appName = "Price $5";
    facts.title = "Star \"Catcher\"";
    facts.shortcutName = ShortcutNameFor(facts.title);
    facts.executableName = "Price $5.exe";
    facts.version.version = {1, 2, 3, 0};
    facts.version.strings = {{"CompanyName", "Us"}, {"ProductVersion", "1.2.3"}};
    facts.files = {{"Price $5.exe", "f0", true}, {"package.json", "f1", true}, {"www/a/b.js", "f2", true},
        {"www/assets.dat", "f3", false}};
    facts.outFile = "setup.exe";
    std::string script = InstallerScript(facts);
    const std::string dollar = "${U+24}${U+24}";
    for (const std::string& expected : {std::string("RequestExecutionLevel user\n"), std::string("Target amd64-unicode\n"),
             std::string("SetDateSave off\n"), std::string("SetCompressor /FINAL lzma\n"),
             "InstallDir \"$LOCALAPPDATA\\Programs\\Price " + dollar + "5\"\n",
             std::string("VIProductVersion \"1.2.3.0\"\n"),
             "  File \"/oname=Price " + dollar + "5.exe\" \"f0\"\n",
             std::string("  SetOutPath \"$INSTDIR\\www\\a\"\n  File \"/oname=b.js\" \"f2\"\n"),
             std::string("  SetOutPath \"$INSTDIR\\www\"\n  SetCompress off\n  File \"/oname=assets.dat\" \"f3\"\n"
                         "  SetCompress auto\n"),
             "  CreateShortcut \"$SMPROGRAMS\\Star _Catcher_.lnk\" \"$INSTDIR\\Price " + dollar + "5.exe\"\n",
             std::string("Section /o \"Desktop shortcut\" Desktop\n"),
             std::string("  Delete \"$INSTDIR\\www\\a\\b.js\"\n  Delete \"$INSTDIR\\www\\assets.dat\"\n"),
             std::string("  RMDir \"$INSTDIR\\www\\a\"\n  RMDir \"$INSTDIR\\www\"\n"),
             std::string("  Delete \"$SMPROGRAMS\\Star _Catcher_.lnk\"\n  Delete \"$DESKTOP\\Star _Catcher_.lnk\"\n"),
             "  IfFileExists \"$LOCALAPPDATA\\Price " + dollar + "5\\velmora-user-data.txt\" 0 done\n"
             "  RMDir /r \"$LOCALAPPDATA\\Price " + dollar + "5\"\n",
             std::string("/SD IDNO IDYES remove_data\n")})
        EXPECT_NE(std::string::npos, script.find(expected)) << expected << "\n---\n" << script;
    EXPECT_EQ(std::string::npos, script.find("RMDir /r \"$INSTDIR")) << "never more than it installed";
    EXPECT_EQ(script, InstallerScript(facts));
}

// A shortcut named by the title was deleted with wildcards: a title "*"
// made the uninstaller delete every shortcut of the Start menu and desktop.
TEST(InstallerScript, ShortcutNamesAreCleanedLikeTheExecutablesName)
{
    EXPECT_EQ("_", ShortcutNameFor("*"));
    EXPECT_EQ("Level_ 1_ the _Fall_", ShortcutNameFor("Level: 1? the <Fall>"));
    EXPECT_EQ("con_", ShortcutNameFor("con"));
    EXPECT_EQ("Game", ShortcutNameFor("Game. "));
}

namespace {

std::string Utf16Le(const std::string& ascii)
{
    std::string out;
    for (char c : ascii)
        out += std::string {c, '\0'};
    return out;
}

}

// Text of the app compiled by makensis itself: nothing of the build
// machine (its environment, NSIS's defines, the installer's variables)
// may enter the installer, and every text arrives as written. The script
// is compiled uncompressed, so that its strings can be read.
TEST(InstallerScript, HostileTextStaysLiteralThroughMakensis)
{
    TempFolder work;
    const std::string hostile = "A $%VELMORA_SIGN_PASSWORD% ${NSISDIR} $INSTDIR $(^Name) $$ \"q\" \\";
    InstallerFacts facts;
    facts.appName = "Price $5";
    facts.title = hostile + "\nnext\tline";
    facts.shortcutName = ShortcutNameFor(facts.title);
    facts.executableName = "Price $%HOME%.exe";
    facts.version.version = {1, 0, 0, 0};
    facts.version.strings = {{"CompanyName", hostile}, {"ProductVersion", "1.0"}};
    facts.files = {{"Price $%HOME%.exe", "f0", true}, {"www/$%SECRET_TOKEN%.txt", "f1", false}};
    facts.outFile = "out.exe";
    work.Write("f0", "MZ program");
    work.Write("f1", "data");
    std::string script = InstallerScript(facts);
    for (std::string::size_type at; (at = script.find("SetCompress auto")) != std::string::npos;)
        script.replace(at, 16, "SetCompress off");
    work.Write("setup.nsi", script);
    int made = std::system(("cd '" + work.path + "' && VELMORA_SIGN_PASSWORD=hunter2 SECRET_TOKEN=s3cr3t "
                            "HOME=/home/builder makensis -V2 setup.nsi >makensis.txt 2>&1").c_str());
    ASSERT_EQ(0, made) << Contents(work.path + "/makensis.txt");
    EXPECT_EQ(std::string::npos, Contents(work.path + "/makensis.txt").find("unknown variable"))
        << Contents(work.path + "/makensis.txt");
    std::string installer = Contents(work.path + "/out.exe");
    for (const char* leaked : {"hunter2", "s3cr3t", "/home/builder", "/usr/share/nsis"}) {
        EXPECT_EQ(std::string::npos, installer.find(Utf16Le(leaked))) << leaked;
        EXPECT_EQ(std::string::npos, installer.find(leaked)) << leaked;
    }
    for (const std::string& literal : {hostile, std::string("Price $%HOME%.exe"), std::string("$%SECRET_TOKEN%.txt")})
        EXPECT_NE(std::string::npos, installer.find(Utf16Le(literal))) << literal;
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

    // The maker never sees the signing password (a stand-in records its
    // environment, then lets the real one make the installer).
    TempFolder stand;
    stand.Write("makensis", "#!/bin/sh\nenv >\"" + stand.path + "/environment.txt\"\nexec /usr/bin/makensis \"$@\"\n");
    fs::permissions(stand.path + "/makensis", fs::perms::owner_all);
    ToolResult secret = RunToolAfter("VELMORA_SIGN_PASSWORD=hunter2 PATH='" + stand.path + ":'\"$PATH\"",
        {"export", app.path, Out("secret"), "--installer", "--replace"});
    ASSERT_EQ(0, secret.exitCode) << secret.err;
    std::string environment = Contents(stand.path + "/environment.txt");
    EXPECT_NE(std::string::npos, environment.find("PATH=")) << "the stand-in ran";
    EXPECT_EQ(std::string::npos, environment.find("hunter2"));
}

namespace {

std::string RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

}

// Game data is compressed already: it is stored, and only what gains is
// compressed, so that the installer takes seconds, not minutes. The same
// app gives the same installer bytes.
TEST_F(ExportTest, TheInstallerStoresCompressedDataAndCompressesTheRest)
{
    const size_t size = 6 << 20;
    app.Write("media/music.ogg", RandomBytes(size, 1));
    std::string text;
    while (text.size() < size)
        text += "function level" + std::to_string(text.size() % 977) + "() { return spawn(); }\n";
    app.Write("js/levels.js", text);
    for (const char* out : {"one", "two"}) {
        ToolResult made = RunTool({"export", app.path, Out(out), "--loose", "--installer", "--replace"});
        ASSERT_EQ(0, made.exitCode) << made.err;
        fs::rename(Out("My Game-setup.exe"), Out(std::string(out) + ".exe"));
    }
    uint64_t installer = fs::file_size(Out("one.exe"));
    EXPECT_GT(installer, size) << "the music is in it";
    EXPECT_LT(installer, size + size / 4) << "the script is compressed, the music only stored";
    EXPECT_TRUE(Contents(Out("one.exe")) == Contents(Out("two.exe"))) << "reproducible";
    EXPECT_EQ(std::set<std::string> {}, [this] {
        std::set<std::string> left;
        for (const std::string& name : FilesIn(Out("one")))
            if (name.find(".installer") != std::string::npos)
                left.insert(name);
        return left;
    }()) << "the installer's work files are not shipped";
}

// The choice is by samples spread over the file: a bundle of media with
// scripts at its start and its directory at its end is stored, a bundle of
// text is compressed.
TEST(InstallerBuild, OnlyWhatGainsIsCompressed)
{
    TempFolder folder;
    std::string text;
    while (text.size() < (4u << 20))
        text += "var level" + std::to_string(text.size() % 9973) + " = { enemies: 12, speed: 3.5 };\n";
    std::string media = RandomBytes(4 << 20, 3);
    std::string directory;
    for (int i = 0; i < 2000; ++i)
        directory += "small/s" + std::to_string(i) + ".bin";
    const std::pair<const char*, std::string> files[] = {
        {"music.ogg", media}, {"levels.js", text}, {"bundle-of-media.dat", text.substr(0, 200000) + media + directory},
        {"bundle-of-text.dat", media.substr(0, 300000) + text + directory}, {"tiny.json", "{\"a\": 1}"}};
    std::map<std::string, bool> chosen;
    for (const auto& [name, bytes] : files)
        chosen[name] = WorthCompressing(folder.Write(name, bytes), bytes.size());
    EXPECT_EQ((std::map<std::string, bool> {{"music.ogg", false}, {"levels.js", true}, {"bundle-of-media.dat", false},
                  {"bundle-of-text.dat", true}, {"tiny.json", false}}),
        chosen);
}

// An NSIS installer holds less than 2 GiB: a larger export is refused
// before anything is written (sizes are read, not the files).
TEST_F(ExportTest, AnExportTooLargeForAnInstallerIsRefusedUpFront)
{
    app.Write("media/movie.webm", "");
    fs::resize_file(app.path + "/media/movie.webm", uint64_t {2} << 30);
    auto started = std::chrono::steady_clock::now();
    ToolResult refused = RunTool({"export", app.path, Out(), "--installer"});
    EXPECT_EQ(1, refused.exitCode);
    EXPECT_EQ(0u, refused.err.find("--installer: the export holds ")) << refused.err;
    EXPECT_NE(std::string::npos, refused.err.find("ship this game as its zip (--zip)")) << refused.err;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(fs::exists(Out()));
}

// Names that Windows keeps in the local application data folder would mix
// the app's data with theirs, and the zip's top folder is a name too.
TEST_F(ExportTest, WindowsOwnDataFolderNamesAndUnholdableZipFoldersAreRefused)
{
    for (const char* name : {"Programs", "temp", "MICROSOFT"}) {
        app.Write("package.json", std::string(R"({"name": ")") + name + R"("})");
        ToolResult refused = RunTool({"export", app.path, Out()});
        EXPECT_EQ(1, refused.exitCode) << name;
        EXPECT_NE(std::string::npos, refused.err.find("Windows keeps a folder of its own by that name there"))
            << refused.err;
    }
    app.Write("package.json", R"({"name": "Game"})");
    ToolResult zipped = RunTool({"export", app.path, Out("nul"), "--zip", Out("game.zip")});
    EXPECT_EQ(1, zipped.exitCode);
    EXPECT_EQ(0u, zipped.err.find("cannot zip the export under the name nul: ")) << zipped.err;
    EXPECT_FALSE(fs::exists(Out("nul")));
}

// An interrupted export ends makensis and leaves nothing beside the output;
// a killed one takes makensis with it, and the next export sweeps what it
// left.
TEST_F(ExportTest, AnInterruptedInstallerLeavesNothingAndEndsItsMaker)
{
    app.Write("media/movie.webm", RandomBytes(64 << 20, 2));
    int interrupted = 0;
    for (int signal : {SIGTERM, SIGKILL, SIGTERM, SIGKILL}) {
        pid_t tool = StartTool({"export", app.path, Out(), "--installer", "--replace"});
        bool making = false;
        for (int wait = 0; wait < 600 && !making; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            making = std::system(("pgrep -f '[m]akensis -V3 .*" + work.path + "' >/dev/null").c_str()) == 0;
        }
        kill(tool, signal);
        int status = 0;
        waitpid(tool, &status, 0);
        if (!making || !WIFSIGNALED(status))
            continue;
        ++interrupted;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_NE(0, std::system(("pgrep -f '[m]akensis -V3 .*" + work.path + "' >/dev/null").c_str()))
            << strsignal(signal) << ": makensis ended";
        if (signal == SIGKILL)
            ASSERT_EQ(0, RunTool({"export", app.path, Out()}).exitCode);
        std::set<std::string> left;
        for (const fs::directory_entry& entry : fs::directory_iterator(work.path))
            left.insert(entry.path().filename().string());
        EXPECT_EQ(signal == SIGKILL ? std::set<std::string> {"out"} : std::set<std::string> {}, left)
            << strsignal(signal);
        fs::remove_all(Out());
    }
    EXPECT_GE(interrupted, 2) << "makensis was seldom caught running: the test proved little";
}
