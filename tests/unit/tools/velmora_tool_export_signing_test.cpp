#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "Quorvel/export_folder.h"
#include "Quorvel/std_export_files.h"
#include "tests/support/tool_runner.h"
#include "tests/unit/Quorvel/resource_model.h"
#include "tests/unit/tools/export_fixture.h"

namespace fs = std::filesystem;

namespace {

// A throw-away code-signing certificate, and every program of the fixture
// a real PE image, as signing needs.
struct SigningTest : ExportTest {
    void SetUp() override
    {
        ExportTest::SetUp();
        programs.Write("Quorvel.exe", HostProgram());
        app.Write("Tandrel.dll", HostProgram());
        std::string make = "cd '" + keys.path + "' && openssl req -x509 -newkey rsa:2048 -keyout key.pem -out cert.pem "
            "-days 2 -nodes -subj '/CN=Velmora Test Signer' -addext extendedKeyUsage=codeSigning >/dev/null 2>&1 && "
            "openssl pkcs12 -export -out cert.pfx -inkey key.pem -in cert.pem -passout pass:secret";
        ASSERT_EQ(0, std::system(make.c_str()));
        keys.Write("password.txt", "secret\n");
    }

    // osslsigncode's verdict on a program, against the throw-away root.
    std::string Verify(const std::string& program)
    {
        std::string command = "osslsigncode verify -CAfile '" + keys.path + "/cert.pem' -in '" + program + "' >'"
            + keys.path + "/verify.txt' 2>&1";
        return std::system(command.c_str()) == 0 ? "ok" : keys.Read("verify.txt");
    }

    TempFolder keys;
};

}

TEST_F(SigningTest, TheAppsProgramsAreSignedLastAndAlike)
{
    std::string certificate = keys.path + "/cert.pfx";
    ToolResult first = RunToolAfter("VELMORA_SIGN_PASSWORD=secret", {"export", app.path, Out("a/game"), "--sign",
        certificate, "--zip", Out("a.zip"), "--installer"});
    ASSERT_EQ(0, first.exitCode) << first.err;
    for (const char* program : {"game/My Game.exe", "game/Quorvel.exe", "game/Tandrel.dll", "My Game-setup.exe"})
        EXPECT_EQ("ok", Verify(Out("a/") + program)) << program;
    EXPECT_NE("ok", Verify(Out("a/game/WebView2Loader.dll"))) << "Microsoft's loader is left as it is";
    EXPECT_EQ(Contents(programs.path + "/WebView2Loader.dll"), Contents(Out("a/game/WebView2Loader.dll")));
    // The icons and version went in before the signature, which covers them.
    EXPECT_EQ(5u, ResourcesOf(Contents(Out("a/game/My Game.exe"))).size());

    ToolResult second = RunTool({"export", app.path, Out("b/game"), "--sign", certificate, "--sign-password-file",
        keys.path + "/password.txt", "--zip", Out("b.zip"), "--installer"});
    ASSERT_EQ(0, second.exitCode) << second.err;
    EXPECT_TRUE(Contents(Out("a/game/My Game.exe")) == Contents(Out("b/game/My Game.exe"))) << "the same bytes every time";
    EXPECT_TRUE(Contents(Out("a.zip")) == Contents(Out("b.zip")));
    EXPECT_TRUE(Contents(Out("a/My Game-setup.exe")) == Contents(Out("b/My Game-setup.exe")));

    // The icon updater leaves a signed program alone: an update would drop
    // the signature.
    StdExportFiles files;
    ResourceModel updater;
    EXPECT_EQ("", ProcessFolder(files, updater, Out("a/game/"), ""));
    EXPECT_TRUE(updater.calls.empty());
    ASSERT_EQ(0, RunTool({"export", app.path, Out("unsigned")}).exitCode);
    EXPECT_EQ("My Game.exe", ProcessFolder(files, updater, Out("unsigned/"), "")) << "it would update this one";
}

TEST_F(SigningTest, ASigningFailureStopsTheExportAndLeavesNothing)
{
    std::string certificate = keys.path + "/cert.pfx";
    struct Case {
        const char* what;
        std::string prefix;
        std::vector<std::string> args;
        std::string reason;
    };
    keys.Write("not-a-certificate.pfx", "garbage");
    const Case cases[] = {
        {"a wrong password", "VELMORA_SIGN_PASSWORD=wrong", {"--sign", certificate}, "cannot sign My Game.exe: "},
        {"no certificate", "", {"--sign", keys.path + "/missing.pfx"}, "cannot read the certificate "},
        {"not a certificate", "", {"--sign", keys.path + "/not-a-certificate.pfx"}, "cannot sign My Game.exe: "},
        {"no signer", "PATH=/nonexistent", {"--sign", certificate},
            "signing needs osslsigncode, which is not installed (Debian package osslsigncode)"},
        {"a password file that is not there", "", {"--sign", certificate, "--sign-password-file", keys.path + "/none"},
            "cannot read the password file "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"export", app.path, Out()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolResult result = RunToolAfter(c.prefix, args);
        EXPECT_EQ(1, result.exitCode) << c.what;
        EXPECT_EQ(0u, result.err.find(c.reason)) << c.what << ": " << result.err;
        EXPECT_EQ(0, std::distance(fs::directory_iterator(work.path), fs::directory_iterator())) << c.what;
    }
    ToolResult alone = RunTool({"export", app.path, Out(), "--timestamp-url", "http://127.0.0.1:9/"});
    EXPECT_EQ(2, alone.exitCode);
    EXPECT_EQ(0u, alone.err.find("--sign-password-file and --timestamp-url go with --sign")) << alone.err;
}
