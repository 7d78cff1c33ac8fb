#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/tool_runner.h"
#include "tests/unit/tools/export_fixture.h"
#include "tools/velmora-tool/export/export_exclusions.h"
#include "tools/velmora-tool/export/safe_file_name.h"

namespace fs = std::filesystem;

namespace {

struct Refusal {
    std::string what;
    std::string file; // written into the app folder, "" for none
    std::string reason;
};

std::string AllOf(const std::string& folder)
{
    std::string names;
    for (const std::string& name : FilesIn(folder))
        names += name + "\n";
    return names;
}

}

TEST(WindowsNames, WhatWindowsCannotHold)
{
    for (const char* name : {"a\\b.js", "bad\xff.js", "tab\t.js", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b",
             "CON", "con.js", "Nul.txt", "COM0", "lpt9.png", "COM\xC2\xB9", "lpt\xC2\xB3.js", "CONIN$", "conout$.txt",
             "trailing.", "trailing "})
        EXPECT_NE("", WindowsNameProblem(name)) << name;
    for (const char* name : {"index.html", ".hidden", "console.js", "COM10", "con-tent", "caf\xC3\xA9.png", "a b"})
        EXPECT_EQ("", WindowsNameProblem(name)) << name;
    EXPECT_EQ(WindowsCaseFolded("TANDREL.DLL"), WindowsCaseFolded("Tandrel.dll"));
    EXPECT_EQ(WindowsCaseFolded("\xC3\x89t\xC3\xA9.js"), WindowsCaseFolded("\xC3\xA9T\xC3\xA9.JS")) << "Ete";
    EXPECT_EQ(WindowsCaseFolded("\xD0\x98\xD0\x93\xD0\xA0\xD0\x90"), WindowsCaseFolded("\xD0\xB8\xD0\xB3\xD1\x80\xD0\xB0"))
        << "Cyrillic";
    EXPECT_NE(WindowsCaseFolded("a.js"), WindowsCaseFolded("b.js"));
}

TEST_F(ExportTest, NamesWindowsCannotHoldAreRefusedBeforeAnythingIsWritten)
{
    const Refusal refusals[] = {
        {"backslash", "js/..\\..\\evil.js", "cannot ship the app file www/js/..\\..\\evil.js: Windows cannot hold its name (the character \\)"},
        {"not UTF-8", "bad\xff.js", "cannot ship the app file www/bad\xff.js: Windows cannot hold its name (not valid UTF-8)"},
        {"control character", "a\x01.js", "(a control character)"},
        {"colon", "a:b.js", "(the character :)"},
        {"device name", "js/COM0.js", "cannot ship the app file www/js/COM0.js: Windows cannot hold its name (a reserved device name)"},
        {"superscript device name", "LPT\xC2\xB9", "(a reserved device name)"},
        {"console device name", "CONOUT$", "(a reserved device name)"},
        {"trailing dot", "js/old.", "(a dot or a space at its end, which Windows drops)"},
        {"case collision", "JS/Game.js", "Windows takes them for the same name, as it ignores case"},
        {"extension library case collision", "TANDREL.DLL", "Windows takes them for the same name, as it ignores case"},
    };
    for (const Refusal& r : refusals) {
        SetUp();
        app.Write(r.file, "x");
        ToolResult result = RunTool({"export", app.path, Out()});
        EXPECT_EQ(1, result.exitCode) << r.what;
        EXPECT_NE(std::string::npos, result.err.find(r.reason)) << r.what << ": " << result.err;
        EXPECT_NE(std::string::npos, result.err.find(r.file.substr(0, r.file.find('/')))) << "named: " << result.err;
        EXPECT_FALSE(fs::exists(Out())) << r.what;
        EXPECT_EQ("", AllOf(work.path)) << r.what;
        fs::remove(app.path + "/" + r.file);
    }
    app.Write("assets.dat", "not a bundle");
    ToolResult loose = RunTool({"export", app.path, Out(), "--loose"});
    EXPECT_NE(std::string::npos, loose.err.find("the host would read www/assets.dat as its bundle")) << loose.err;
    EXPECT_EQ(0, RunTool({"export", app.path, Out()}).exitCode) << "packed, it is just a file of the app";

    for (const char* name : {"my/game", "my\\\\game", "C:game", "..", "CON", "aux.txt", "game."}) {
        app.Write("package.json", std::string(R"({"name": ")") + name + "\"}");
        ToolResult result = RunTool({"export", app.path, Out("named")});
        EXPECT_EQ(1, result.exitCode) << name;
        EXPECT_EQ(0u, result.err.find("package.json: \"name\" must be usable as a folder name on Windows")) << result.err;
    }
}

TEST_F(ExportTest, TheExportKeepsItsPromises)
{
    // An icon list in "icons.json" is written into the exported settings,
    // where the icon updater looks first.
    app.Write("package.json", R"({"name": "Listed", "main": "index.html#top", "export-exclude": ["notes/"]})");
    app.Write("icons.json", R"({"q7-app-icons": [{"src": "icons\\16.png", "width": 16, "height": 16}]})");
    ToolResult result = RunTool({"export", app.path, Out("game/")});
    ASSERT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ(R"({"name": "Listed", "main": "index.html#top", "export-exclude": ["notes/"], )"
              R"("q7-app-icons": [{"height":16,"src":"icons\\16.png","width":16}]})",
        Contents(Out("game/package.json")))
        << "the app's text kept, the list added";
    EXPECT_EQ("1 16 icons\\16.png\nexe Listed.exe\n", RunTool({"icons", Out("game")}).out);
    ResourceTree resources = ResourcesOf(Contents(Out("game/Listed.exe")));
    EXPECT_EQ(1u, resources.count({ResourceName::Number(3), ResourceName::Number(1), 0}));
    std::string version = resources.at({ResourceName::Number(16), ResourceName::Number(1), 0x409});
    size_t description = version.find(Utf16("FileDescription"));
    ASSERT_NE(std::string::npos, description);
    EXPECT_LT(version.find(Utf16("Listed"), description), description + 40)
        << "without a window title the description is the name";
    EXPECT_EQ(std::string::npos, version.find(Utf16("Windows Velmora")));
    ToolResult again = RunTool({"export", app.path, Out("game"), "--replace"});
    EXPECT_EQ(0, again.exitCode) << "an export whose list names icons with \\ is an earlier export: " << again.err;

    // "main" is checked exactly as the host looks it up: without its query
    // and fragment, a folder by its index page.
    app.Write("package.json", R"({"name": "Listed", "main": "index.html?level=1#top"})");
    ToolResult query = RunTool({"export", app.path, Out("with-query")});
    EXPECT_EQ(0, query.exitCode) << query.err;
    app.Write("package.json", R"({"name": "Listed", "main": "levels/?id=1"})");
    ToolResult folder = RunTool({"export", app.path, Out("query")});
    EXPECT_EQ(0u, folder.err.find("missing start page: levels/index.html")) << folder.err;

    app.Write("icons/16.png", "");
    ToolResult empty = RunTool({"export", app.path, Out("empty")});
    EXPECT_EQ(0u, empty.err.find("icon image icons\\16.png is empty")) << empty.err;
    // Sizes are checked before any image is read (this one is sparse).
    fs::resize_file(app.path + "/icons/16.png", uint64_t {3} << 30);
    auto started = std::chrono::steady_clock::now();
    ToolResult huge = RunTool({"export", app.path, Out("huge")});
    EXPECT_EQ(0u, huge.err.find("icon images too large: more than 1 GiB in all, at icons\\16.png")) << huge.err;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    for (const char* refused : {"query", "empty", "huge"})
        EXPECT_FALSE(fs::exists(Out(refused))) << refused;
}

TEST_F(ExportTest, ExclusionsMatchWhatTheySayOrAreReported)
{
    app.Write("secret.txt", "s");
    app.Write("priv/key.pem", "k");
    app.Write("docs/a.txt", "a");
    auto exportWith = [this](const std::string& exclude) {
        app.Write("package.json", R"({"name": "Ex", "export-exclude": [)" + exclude + "]}");
        fs::remove_all(Out());
        return RunTool({"export", app.path, Out(), "--loose"});
    };
    ToolResult normalised = exportWith(R"("./secret.txt", "/priv", "docs/*.txt", "Tandrel.dll", "notes")");
    ASSERT_EQ(0, normalised.exitCode) << normalised.err;
    std::string shipped = AllOf(Out());
    for (const char* gone : {"secret.txt", "key.pem", "a.txt", "Tandrel.dll", "todo.txt"})
        EXPECT_EQ(std::string::npos, shipped.find(gone)) << gone << " shipped:\n" << shipped;
    for (const char* typo : {"Secret.txt", "*.pem", "priv/key", "nothing/"}) {
        ToolResult result = exportWith(std::string("\"") + typo + "\", \"secret.txt\"");
        EXPECT_EQ(1, result.exitCode) << typo;
        EXPECT_NE(std::string::npos, result.err.find(std::string("entry \"") + typo + "\" matches no file")
            ) << typo << ": " << result.err;
    }

    // The lists are indexed: 100,000 files against 50,000 entries.
    std::vector<std::string> entries;
    for (int i = 0; i < 50000; ++i)
        entries.push_back("folder" + std::to_string(i) + "/");
    ExportExclusions exclusions(entries);
    auto started = std::chrono::steady_clock::now();
    int excluded = 0;
    for (int i = 0; i < 100000; ++i)
        excluded += exclusions.Excludes("folder" + std::to_string(i) + "/deep/file.js");
    EXPECT_EQ(50000, excluded);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST_F(ExportTest, LinksSpecialFilesAndTextThatIsNotUtf8SaySo)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string reason;
    };
    const Case cases[] = {
        {"link to the app folder", [&] { fs::create_symlink(app.path, app.path + "/self"); },
            "link to a folder, not followed: self"},
        {"link loop", [&] {
             fs::create_symlink(app.path + "/loop-b", app.path + "/loop-a");
             fs::create_symlink(app.path + "/loop-a", app.path + "/loop-b");
         }, "link loop: loop-"},
        {"UTF-16 settings", [&] { app.Write("package.json", std::string("\xFF\xFE{\0}\0", 6)); },
            "package.json must be UTF-8 text; this one is UTF-16"},
        {"a pipe", [&] { mkfifo((app.path + "/pipe").c_str(), 0600); }, "not a regular file: pipe"},
    };
    for (const Case& c : cases) {
        SetUp();
        c.prepare();
        ToolResult result = RunTool({"export", app.path, Out()});
        EXPECT_EQ(1, result.exitCode) << c.what;
        EXPECT_EQ(0u, result.err.find(c.reason)) << c.what << ": " << result.err;
        for (const char* leftover : {"self", "loop-a", "loop-b", "pipe"})
            fs::remove(app.path + "/" + leftover);
    }

    // "ls" and "get" on a pipe where the bundle should be: no waiting.
    fs::create_directories(Out("fifo/www"));
    mkfifo((Out("fifo/www/assets.dat")).c_str(), 0600);
    ToolResult ls = RunToolAfter("timeout 10", {"ls", Out("fifo/www/assets.dat")});
    EXPECT_EQ(1, ls.exitCode);
    EXPECT_EQ("not a bundle file: " + Out("fifo/www/assets.dat") + "\n", ls.err);
    ToolResult get = RunToolAfter("timeout 10", {"get", Out("fifo"), "index.html"});
    EXPECT_EQ(0, get.exitCode);
    EXPECT_EQ("Error reading asset bundle: not a regular file\n", get.err);

    // "pack" refuses a link out of the folder, as the export does.
    TempFolder outside;
    outside.Write("secret.txt", "secret");
    fs::create_symlink(outside.path + "/secret.txt", app.path + "/js/secret.txt");
    ToolResult pack = RunTool({"pack", app.path, Out("pack.dat")});
    EXPECT_EQ(1, pack.exitCode);
    EXPECT_NE(std::string::npos, pack.err.find("link out of the folder, or to nothing: ")) << pack.err;
}

TEST_F(ExportTest, ZipNamesReadTheSameInThreeReaders)
{
    app.Write("caf\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC.js", "unicode");
    ASSERT_EQ(0, RunTool({"export", app.path, Out("game"), "--loose", "--zip", Out("game.zip")}).exitCode);
    std::string expected = "game/www/caf\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC.js";
    const std::string readers[] = {
        "python3 -c \"import sys, zipfile; print('\\n'.join(zipfile.ZipFile(sys.argv[1]).namelist()))\" ",
        "LC_ALL=C.UTF-8 unzip -Z1 ",
        "LC_ALL=C.UTF-8 bsdtar -tf ",
    };
    for (const std::string& reader : readers) {
        std::string command = reader + "'" + Out("game.zip") + "' >'" + Out("names.txt") + "'";
        ASSERT_EQ(0, std::system(command.c_str())) << reader << "(scripts/setup.sh installs it)";
        EXPECT_NE(std::string::npos, Contents(Out("names.txt")).find(expected + "\n")) << reader;
    }
}
