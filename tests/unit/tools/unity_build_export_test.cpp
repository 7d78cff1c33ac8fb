#include <brotli/encode.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "tests/support/tool_runner.h"
#include "tests/unit/tools/export_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string Brotli(const std::string& plain)
{
    std::string out(BrotliEncoderMaxCompressedSize(plain.size()), '\0');
    size_t size = out.size();
    EXPECT_TRUE(BrotliEncoderCompress(BROTLI_DEFAULT_QUALITY, BROTLI_DEFAULT_WINDOW, BROTLI_MODE_GENERIC, plain.size(),
        reinterpret_cast<const uint8_t*>(plain.data()), &size, reinterpret_cast<uint8_t*>(&out[0])));
    out.resize(size);
    return out;
}

std::string Gzip(const std::string& plain)
{
    z_stream z {};
    EXPECT_EQ(Z_OK, deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY));
    std::string out(deflateBound(&z, plain.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(Z_STREAM_END, deflate(&z, Z_FINISH));
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string Header(const std::string& answer)
{
    return answer.substr(0, answer.find("\n\n") + 1);
}

}

// A Unity build made with compression and no decompression fallback
// relies on the server's Content-Encoding, which the runtime does not apply
// to the host's own answers: the export ships such files decoded, and the
// host types them by what they hold.
TEST_F(ExportTest, UnityCompressedBuildFilesShipDecoded)
{
    std::string framework = "var unityFramework = function () {};\n" + std::string(300000, ' ');
    std::string wasm = std::string("\0asm\1\0\0\0", 8) + std::string(2 << 20, 'w');
    std::string data = "UnityWebData1.0\0" + std::string(5000, 'd');
    app.Write("Build/WebGL.loader.js", "function createUnityInstance() {}");
    app.Write("Build/WebGL.framework.js.br", Brotli(framework));
    app.Write("Build/WebGL.wasm.br", Brotli(wasm));
    app.Write("Build/WebGL.data.gz", Gzip(data.substr(0, 100)) + Gzip(data.substr(100)));
    // Not a build file: the game decodes these itself.
    std::string own = Gzip("{\"level\": 1}");
    app.Write("levels/one.json.gz", own);
    app.Write("Other/Thing.wasm.br", Brotli(wasm));

    for (const char* packing : {"bundle", "loose"}) {
        std::vector<std::string> args = {"export", app.path, Out(packing)};
        if (std::string(packing) == "loose")
            args.push_back("--loose");
        ToolResult result = RunTool(args);
        ASSERT_EQ(0, result.exitCode) << result.err;
        EXPECT_NE(std::string::npos, result.out.find("(3 compressed Unity build files decoded)")) << result.out;
        auto get = [&](const std::string& path) { return RunTool({"get", Out(packing), path}).out; };
        std::string frameworkAnswer = get("Build/WebGL.framework.js.br");
        EXPECT_EQ(framework, Body(frameworkAnswer)) << packing;
        EXPECT_EQ("200 OK\nCache-Control: no-store\nContent-Type: application/javascript; charset=utf-8\n"
                  "Accept-Ranges: bytes\nContent-Length: " + std::to_string(framework.size()) + "\n",
            Header(frameworkAnswer)) << packing;
        std::string wasmAnswer = get("Build/WebGL.wasm.br");
        EXPECT_TRUE(wasm == Body(wasmAnswer)) << packing;
        EXPECT_NE(std::string::npos, wasmAnswer.find("Content-Type: application/wasm\n")) << packing;
        EXPECT_EQ(data, Body(get("Build/WebGL.data.gz"))) << packing << ": every gzip member";
        EXPECT_EQ(own, Body(get("levels/one.json.gz"))) << packing;
        EXPECT_EQ(Brotli(wasm), Body(get("Other/Thing.wasm.br"))) << packing << ": no loader beside it";
        EXPECT_EQ(wasm.substr(4, 4), Body(RunTool({"get", Out(packing), "Build/WebGL.wasm.br?v=1", "--range",
            "bytes=4-7"}).out)) << packing;
    }
    EXPECT_EQ(Brotli(framework), Contents(app.path + "/Build/WebGL.framework.js.br")) << "the app is left as it was";

    // Data that does not decode is refused before anything is written,
    // naming the file and the reason.
    std::string broken = Brotli(framework);
    for (const auto& [content, reason] : {std::pair<std::string, std::string> {broken.substr(0, broken.size() / 2),
                                              "the Brotli data is cut short"},
             {"plain text, not Brotli", "not valid Brotli data"}, {broken + "x", "other bytes after the Brotli data"}}) {
        app.Write("Build/WebGL.framework.js.br", content);
        ToolResult refused = RunTool({"export", app.path, Out("refused")});
        EXPECT_EQ(1, refused.exitCode) << reason;
        EXPECT_EQ(0u, refused.err.find("cannot decode the Unity build file Build/WebGL.framework.js.br: " + reason))
            << refused.err;
        EXPECT_FALSE(fs::exists(Out("refused")));
    }
    app.Write("Build/WebGL.framework.js.br", Brotli(framework));
    app.Write("Build/WebGL.data.gz", Gzip(data).substr(0, 50));
    EXPECT_EQ(0u, RunTool({"export", app.path, Out("refused")}).err.find(
        "cannot decode the Unity build file Build/WebGL.data.gz: the gzip data is cut short"));
}
