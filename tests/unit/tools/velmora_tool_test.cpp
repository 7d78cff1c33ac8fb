#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/tool_runner.h"

TEST(VelmoraToolConfig, PrintsTheConfigurationAsCompactJson)
{
    TempFolder folder;
    std::string path = folder.Write("package.json", R"({"name":"game","window":{"width":800.5}})");
    ToolResult result = RunTool({"config", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
        R"({"name":"game","main":"index.html","title":"Windows Velmora","width":800,"height":768,"icon":"",)"
        R"("resizable":true,"chromiumArgs":"","contentMode":"bundle","distributionMode":"evergreen",)"
        R"("hostingMode":"windowed","enableDevtools":true,"crossOriginIsolation":false,"backgroundColor":null,)"
        R"("fullscreen":false,"minWidth":0,"minHeight":0,"rememberPlacement":false,"dpiAwareness":"system",)"
        R"("singleInstance":false,"closeRequest":false,"closeRequestTimeout":5,"autoplay":false,)"
        R"("runInBackground":false,"frameRate":"vsync","gpu":"default","wineBrowserArguments":"",)"
        R"("installMessage":"This app requires the Microsoft Edge )"
        R"(WebView2 runtime. It will be downloaded and installed for you now.","downloadingMessage":"Downloading...",)"
        R"("installFailedMessage":"Failed to install the Microsoft Edge WebView2 runtime. Check that you have )"
        R"(permission to install it, and that your Internet connection is working. Run the app again to try again."})"
        "\n");
}

TEST(VelmoraToolConfig, ListsTheWindowBehaviours)
{
    TempFolder folder;
    ToolResult result = RunTool({"config", folder.Write("package.json", R"({"name":"g",
        "window":{"background-color":"#1A2b3C","fullscreen":true,"min-width":640,"min-height":360,
                  "remember-placement":true,"dpi-awareness":"per-monitor"},
        "settings":{"single-instance":true,"close-request":true,"close-request-timeout":12,"autoplay":true,
                    "run-in-background":true,"gpu":"high-performance","wine-browser-arguments":"--disable-gpu"}})")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find(R"("backgroundColor":"#1a2b3c","fullscreen":true,"minWidth":640,"minHeight":360,)"
                              R"("rememberPlacement":true,"dpiAwareness":"per-monitor","singleInstance":true,)"
                              R"("closeRequest":true,"closeRequestTimeout":12,"autoplay":true,"runInBackground":true,)"
                              R"("frameRate":"vsync","gpu":"high-performance","wineBrowserArguments":"--disable-gpu",)"),
        std::string::npos)
        << result.out;
}

TEST(VelmoraToolConfig, ReportsFailuresOnStandardError)
{
    TempFolder folder;
    ToolResult invalid = RunTool({"config", folder.Write("a.json", R"({"name":"n","settings":{"hosting-mode":1.5,
        "content-mode":"Remote"}})")});
    EXPECT_EQ(invalid.exitCode, 1);
    EXPECT_EQ(invalid.err, "invalid content mode\n");
    EXPECT_EQ(invalid.out, "");

    const std::string loadMessage = "Failed to load package.json. Check the file is in the same folder as the app.\n";
    EXPECT_EQ(RunTool({"config", folder.Write("empty.json", "")}).err, loadMessage);
    ToolResult missing = RunTool({"config", folder.path + "/missing.json"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, loadMessage);

    const std::string deep = "{\"name\":\"n\",\"window\":" + std::string(80000, '[') + std::string(80000, ']') + "}";
    ToolResult nested = RunTool({"config", folder.Write("deep.json", deep)});
    EXPECT_EQ(nested.exitCode, 1);
    EXPECT_EQ(nested.err, "json nested too deeply\n");
    EXPECT_EQ(nested.out, "");
}
