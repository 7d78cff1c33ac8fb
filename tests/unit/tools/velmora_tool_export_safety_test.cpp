#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "tests/support/tool_runner.h"
#include "tools/velmora-tool/export/planned_copy.h"
#include "tests/unit/tools/export_fixture.h"

namespace fs = std::filesystem;

namespace {

// Every file below a folder with its bytes: what "exactly as it was" means.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : FilesIn(folder))
        files[name] = Contents(folder + "/" + name);
    return files;
}

// What is left in a folder besides the names given.
std::set<std::string> LitterIn(const std::string& folder, const std::set<std::string>& expected)
{
    std::set<std::string> litter;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (!expected.count(name))
            litter.insert(name);
    }
    return litter;
}

// A pid that belonged to a process that has ended.
pid_t EndedPid()
{
    pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

struct ExportSafetyTest : ExportTest {
    // An app big enough that an export takes a while to write.
    void MakeLarge()
    {
        std::string block(1 << 20, 'x');
        for (int i = 0; i < 24; ++i)
            app.Write("media/clip" + std::to_string(i) + ".bin", block + std::to_string(i));
    }
};

}

TEST_F(ExportSafetyTest, AKillAtAnyPointLeavesOneWholeExportAtTheOutput)
{
    MakeLarge();
    ASSERT_EQ(0, RunTool({"export", app.path, Out(), "--loose"}).exitCode);
    std::map<std::string, std::string> old = Snapshot(Out());
    app.Write("index.html", "<title>New</title>");
    ASSERT_EQ(0, RunTool({"export", app.path, Out("reference"), "--loose"}).exitCode);
    std::map<std::string, std::string> fresh = Snapshot(Out("reference"));
    fs::remove_all(Out("reference"));
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        pid_t tool = StartTool({"export", app.path, Out(), "--replace", "--loose"});
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 60000));
        kill(tool, SIGKILL);
        waitpid(tool, nullptr, 0);
        std::map<std::string, std::string> now = Snapshot(Out());
        EXPECT_TRUE(now == old || now == fresh) << "round " << round << ": a mixed or partial output";
        if (now == fresh)
            ASSERT_EQ(0, RunTool({"export", app.path, Out(), "--replace", "--loose"}).exitCode);
        old = Snapshot(Out());
    }
    // Killed in the middle of removing the old output: by then the new one
    // is in place, whole.
    app.Write("index.html", "<title>Newer</title>");
    ToolResult killed = RunToolAfter("strace -f -o /dev/null -e trace=unlinkat -e inject=unlinkat:signal=SIGKILL:when=3",
        {"export", app.path, Out(), "--replace", "--loose"});
    EXPECT_EQ(128 + SIGKILL, killed.exitCode) << "strace (scripts/setup.sh installs it) killed it: " << killed.err;
    EXPECT_EQ("<title>Newer</title>", Contents(Out() + "/www/index.html"));
    EXPECT_EQ(old.size(), Snapshot(Out()).size());
    // The next export sweeps what the killed ones left behind.
    ASSERT_EQ(0, RunTool({"export", app.path, Out(), "--replace", "--loose"}).exitCode);
    EXPECT_EQ(std::set<std::string> {}, LitterIn(work.path, {"out"}));
}

TEST_F(ExportSafetyTest, InterruptionsAndSizeLimitsLeaveNothingBehind)
{
    MakeLarge();
    int interrupted = 0;
    for (int signal : {SIGINT, SIGTERM, SIGINT, SIGTERM}) {
        pid_t tool = StartTool({"export", app.path, Out()});
        // As soon as its staging folder exists: while it writes.
        for (int wait = 0; wait < 20000 && LitterIn(work.path, {}).empty(); ++wait)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        kill(tool, signal);
        int status = 0;
        waitpid(tool, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            fs::remove_all(Out());
            continue; // it finished first
        }
        ++interrupted;
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "ends by the signal it was sent";
        EXPECT_EQ(std::set<std::string> {}, LitterIn(work.path, {})) << strsignal(signal);
    }
    EXPECT_GT(interrupted, 0) << "every export finished before its signal: the test proved nothing";
    ToolResult limited = RunToolAfter("ulimit -f 4096;", {"export", app.path, Out()});
    EXPECT_EQ(1, limited.exitCode);
    EXPECT_NE(std::string::npos, limited.err.find("File too large")) << limited.err;
    EXPECT_EQ(std::set<std::string> {}, LitterIn(work.path, {}));

    // Staging folders of processes that no longer run are swept; a running
    // one's is left alone.
    std::string stale = work.path + "/.out.partial-" + std::to_string(EndedPid());
    std::string running = work.path + "/.out.partial-" + std::to_string(getppid());
    fs::create_directories(stale + "/www");
    fs::create_directories(running);
    ASSERT_EQ(0, RunTool({"export", app.path, Out()}).exitCode);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
}

TEST_F(ExportSafetyTest, ReplaceTakesOnlyAnEarlierExport)
{
    TempFolder home;
    home.Write("letters/mum.txt", "dear mum");
    struct Case {
        const char* what;
        std::string out;
        std::string prefix;
        const char* reason;
    };
    fs::create_directories(Out("cwd"));
    work.Write("cwd/notes.txt", "mine");
    fs::create_symlink(home.path, Out("link"));
    ASSERT_EQ(0, RunTool({"export", app.path, Out("earlier")}).exitCode);
    work.Write("earlier/diary.txt", "private");
    const Case cases[] = {
        {"a folder of other files", home.path, "", "it is not an earlier export"},
        {"the home folder", home.path, "HOME='" + home.path + "'", "it is your home folder"},
        {"the current folder", ".", "cd '" + Out("cwd") + "' &&", "it is the current folder"},
        {"the folder around the current one", "..", "cd '" + Out("cwd") + "' &&", "holds it"},
        {"a link", Out("link"), "", "will not write through the link"},
        {"an export with a file of the user's", Out("earlier"), "", "it holds diary.txt"},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> before = Snapshot(home.path);
        ToolResult result = RunToolAfter(c.prefix, {"export", app.path, c.out, "--replace"});
        EXPECT_EQ(1, result.exitCode) << c.what;
        EXPECT_NE(std::string::npos, result.err.find(c.reason)) << c.what << ": " << result.err;
        EXPECT_TRUE(before == Snapshot(home.path)) << c.what;
    }
    EXPECT_EQ("mine", Contents(Out("cwd/notes.txt")));
    EXPECT_EQ("private", Contents(Out("earlier/diary.txt")));
    fs::remove(Out("earlier/diary.txt"));
    ToolResult replaced = RunTool({"export", app.path, Out("earlier/"), "--replace"});
    EXPECT_EQ(0, replaced.exitCode) << replaced.err;
}

// An icon image copied over the export's loader or icon updater left an
// export that could not start, reported as a success.
TEST_F(ExportSafetyTest, IconImagesNeverOverwriteTheExportsOwnFiles)
{
    for (const char* own : {"WebView2Loader.dll", "quorvel.EXE", "Tandrel.dll", "package.json", "www/assets.dat",
             "WWW/icon.png", "My Game.exe"}) {
        app.Write(own, "\x89PNG image");
        app.Write("package.json", std::string(R"({"name": "My Game", "q7-app-icons": [{"src": ")") + own
            + R"(", "width": 16, "height": 16}]})");
        ToolResult result = RunTool({"export", app.path, Out("own")});
        EXPECT_EQ(1, result.exitCode) << own;
        EXPECT_EQ("icon image " + std::string(own) + " would be written over the export's own " + own
                + ": list an image file of its own\n", result.err) << own;
        EXPECT_FALSE(fs::exists(Out("own"))) << own;
        fs::remove_all(app.path + "/" + own);
    }
}

TEST_F(ExportSafetyTest, MountPointsAreUsableWhenEmptyAndNeverReplaced)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    fs::create_directories(Out());
    if (mount("none", Out().c_str(), "tmpfs", 0, "size=64m") != 0)
        GTEST_SKIP() << "this machine does not let the tests mount";
    ToolResult first = RunTool({"export", app.path, Out()});
    EXPECT_EQ(0, first.exitCode) << first.err;
    EXPECT_TRUE(fs::exists(Out() + "/www/assets.dat"));
    EXPECT_EQ(std::set<std::string> {}, LitterIn(Out(), {"My Game.exe", "Quorvel.exe", "WebView2Loader.dll",
                                                   "package.json", "icons", "Tandrel.dll", "www"}));
    ToolResult again = RunTool({"export", app.path, Out(), "--replace"});
    EXPECT_EQ(1, again.exitCode);
    EXPECT_NE(std::string::npos, again.err.find("it is the root of a mount")) << again.err;
    umount(Out().c_str());

    // An earlier export with a file system mounted inside it: removing the
    // old output would remove that file system's files too.
    ASSERT_EQ(0, RunTool({"export", app.path, Out(), "--loose"}).exitCode);
    fs::create_directories(Out() + "/www/data");
    mount("none", (Out() + "/www/data").c_str(), "tmpfs", 0, "size=1m");
    std::ofstream(Out() + "/www/data/keep.txt") << "kept";
    ToolResult mounted = RunTool({"export", app.path, Out(), "--replace"});
    EXPECT_EQ(1, mounted.exitCode);
    EXPECT_NE(std::string::npos, mounted.err.find(Out() + "/www/data is another file system mounted there"))
        << mounted.err;
    EXPECT_EQ("kept", Contents(Out() + "/www/data/keep.txt"));
    umount((Out() + "/www/data").c_str());
    fs::remove_all(Out());
    fs::create_directories(Out());

    // A full disk says so, with the path, and leaves nothing.
    mount("none", Out().c_str(), "tmpfs", 0, "size=1m");
    MakeLarge();
    fs::create_directories(Out() + "/game");
    ToolResult full = RunTool({"export", app.path, Out() + "/game/inner"});
    EXPECT_EQ(1, full.exitCode);
    EXPECT_NE(std::string::npos, full.err.find("No space left on device")) << full.err;
    EXPECT_NE(std::string::npos, full.err.find(Out() + "/game/")) << full.err;
    EXPECT_EQ(std::set<std::string> {}, LitterIn(Out() + "/game", {}));
    umount(Out().c_str());
}

TEST_F(ExportSafetyTest, ZipTargetsAreCheckedFirstAndLargeExportsZipWithZip64)
{
    work.Write("old.zip", "old zip");
    fs::create_symlink(work.path + "/old.zip", Out("link.zip"));
    fs::create_directories(Out("folder.zip"));
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    };
    const Case cases[] = {
        {{"--zip", Out("old.zip")}, "the zip file exists"},
        {{"--zip", Out("link.zip"), "--replace"}, "will not write the zip through the link"},
        {{"--zip", Out("folder.zip")}, "--zip needs a file name, not the folder"},
        {{"--zip", "."}, "--zip needs a file name, not the folder"},
        {{"--zip", Out("missing/game.zip")}, "its folder does not exist"},
        {{"--zip", "--replace"}, "--zip needs a file name"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"export", app.path, Out()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolResult result = RunTool(args);
        EXPECT_NE(0, result.exitCode) << c.reason;
        EXPECT_NE(std::string::npos, result.err.find(c.reason)) << result.err;
        EXPECT_FALSE(fs::exists(Out())) << c.reason;
        EXPECT_EQ("old zip", Contents(Out("old.zip")));
        EXPECT_EQ((std::set<std::string> {"old.zip", "link.zip", "folder.zip"}), LitterIn(work.path, {})) << c.reason;
    }

    // More entries than a plain zip counts: the zip64 extension.
    for (int i = 0; i < 70000; ++i) {
        std::string folder = app.path + "/many/" + std::to_string(i / 1000);
        if (i % 1000 == 0)
            fs::create_directories(folder);
        std::ofstream(folder + "/" + std::to_string(i)).put('a');
    }
    ToolResult many = RunTool({"export", app.path, Out(), "--loose", "--zip", Out("many.zip")});
    ASSERT_EQ(0, many.exitCode) << many.err;
    std::string count = "python3 -c \"import sys, zipfile; print(len(zipfile.ZipFile(sys.argv[1]).namelist()))\" '"
        + Out("many.zip") + "' >'" + Out("count.txt") + "'";
    ASSERT_EQ(0, std::system(count.c_str()));
    std::string files = std::to_string(FilesIn(Out()).size()) + "\n";
    EXPECT_EQ(files, Contents(Out("count.txt")));
    EXPECT_GT(FilesIn(Out()).size(), 70000u);
    for (const std::string& reader : {std::string("unzip -Z1 '") + Out("many.zip") + "' | wc -l",
             std::string("7zz l -slt '") + Out("many.zip") + "' | grep -c '^Path = out/'"}) {
        ASSERT_EQ(0, std::system((reader + " >'" + Out("count.txt") + "'").c_str())) << reader;
        EXPECT_EQ(files, Contents(Out("count.txt"))) << reader;
    }
}

TEST(PlannedCopy, AFileThatChangedSinceThePlanIsRefused)
{
    TempFolder folder;
    std::string path = folder.Write("a.bin", "0123456789");
    BundleSource planned {"a.bin", path, 10};
    auto nothing = [] {};
    CopyPlannedFile(planned, folder.path + "/copy/a.bin", nothing);
    EXPECT_EQ("0123456789", folder.Read("copy/a.bin"));
    for (const char* changed : {"01234", "0123456789 and more"}) {
        folder.Write("a.bin", changed);
        try {
            CopyPlannedFile(planned, folder.path + "/copy/a.bin", nothing);
            ADD_FAILURE() << "copied a file of the wrong size: " << changed;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(path + " changed while packing", error.what());
        }
    }
}
