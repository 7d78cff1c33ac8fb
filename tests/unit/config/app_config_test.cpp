#include <gtest/gtest.h>

#include <stdexcept>

#include "config/app_config.h"
#include "config/config_warnings.h"

namespace {

AppConfig Load(const std::string& text)
{
    AppConfig config;
    LoadAppConfig(text, config);
    return config;
}

std::string FailureOf(const std::string& text)
{
    try {
        Load(text);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no failure";
}

}

TEST(AppConfig, NameAloneGivesEveryDefault)
{
    AppConfig config = Load(R"({"name":"game"})");
    EXPECT_EQ(config.name, "game");
    EXPECT_EQ(config.main, "index.html");
    EXPECT_EQ(config.title, "Windows Velmora");
    EXPECT_EQ(config.width, 1024);
    EXPECT_EQ(config.height, 768);
    EXPECT_EQ(config.icon, "");
    EXPECT_TRUE(config.resizable);
    EXPECT_EQ(config.chromiumArgs, "");
    EXPECT_EQ(config.contentMode, ContentMode::Bundle);
    EXPECT_EQ(config.distributionMode, DistributionMode::Evergreen);
    EXPECT_EQ(config.hostingMode, HostingMode::Windowed);
    EXPECT_TRUE(config.enableDevtools);
    EXPECT_EQ(config.installMessage,
        "This app requires the Microsoft Edge WebView2 runtime. It will be downloaded and installed for you now.");
    EXPECT_EQ(config.downloadingMessage, "Downloading...");
    EXPECT_EQ(config.installFailedMessage,
        "Failed to install the Microsoft Edge WebView2 runtime. Check that you have permission to install it, and "
        "that your Internet connection is working. Run the app again to try again.");
}

TEST(AppConfig, ReadsEveryKeyFromItsSection)
{
    AppConfig config = Load(R"({"name":"n","main":"start.html","chromium-args":"--a",
        "window":{"title":"T","width":800,"height":600,"icon":"i.png","resizable":false},
        "settings":{"content-mode":"remote","distribution-mode":"fixed","hosting-mode":"window-to-visual",
                    "enable-devtools":false},
        "messages":{"install-webview2":"I","downloading":"D","install-webview2-failed":"F"}})");
    EXPECT_EQ(config.main, "start.html");
    EXPECT_EQ(config.chromiumArgs, "--a");
    EXPECT_EQ(config.title, "T");
    EXPECT_EQ(config.width, 800);
    EXPECT_EQ(config.height, 600);
    EXPECT_EQ(config.icon, "i.png");
    EXPECT_FALSE(config.resizable);
    EXPECT_EQ(config.contentMode, ContentMode::Remote);
    EXPECT_EQ(config.distributionMode, DistributionMode::Fixed);
    EXPECT_EQ(config.hostingMode, HostingMode::WindowToVisual);
    EXPECT_FALSE(config.enableDevtools);
    EXPECT_EQ(config.installMessage, "I");
    EXPECT_EQ(config.downloadingMessage, "D");
    EXPECT_EQ(config.installFailedMessage, "F");
}

TEST(AppConfig, NameMustBeANonEmptyString)
{
    EXPECT_EQ(FailureOf(R"({"name":""})"), "invalid name");
    EXPECT_EQ(FailureOf("{}"), "invalid name");
    EXPECT_EQ(FailureOf(R"({"name":7})"), "invalid name");
    EXPECT_EQ(FailureOf("[1]"), "invalid name");
    EXPECT_EQ(FailureOf("42"), "invalid name");
    EXPECT_EQ(FailureOf("null"), "invalid name");
}

TEST(AppConfig, ModesMatchExactlyAndReportInOrder)
{
    EXPECT_EQ(FailureOf(R"({"name":"n","settings":{"content-mode":"Bundle"}})"), "invalid content mode");
    EXPECT_EQ(FailureOf(R"({"name":"n","settings":{"distribution-mode":" fixed"}})"), "invalid distribution mode");
    EXPECT_EQ(FailureOf(R"({"name":"n","settings":{"hosting-mode":"Windowed"}})"), "invalid hosting mode");
    // Distribution is checked before hosting, hosting before content.
    EXPECT_EQ(FailureOf(R"({"name":"n","settings":{"content-mode":"x","hosting-mode":"x","distribution-mode":"x"}})"),
        "invalid distribution mode");
    EXPECT_EQ(FailureOf(R"({"name":"n","settings":{"content-mode":"x","hosting-mode":"x"}})"), "invalid hosting mode");
    // The name is checked before any mode.
    EXPECT_EQ(FailureOf(R"({"settings":{"content-mode":"x"}})"), "invalid name");
}

TEST(AppConfig, WrongTypesFallBackToDefaults)
{
    AppConfig config = Load(R"({"name":"n","window":{"width":"800","height":800.9,"resizable":0,"title":null},
        "settings":{"content-mode":1,"enable-devtools":"false"}})");
    EXPECT_EQ(config.width, 1024);
    EXPECT_EQ(config.height, 800);
    EXPECT_TRUE(config.resizable);
    EXPECT_EQ(config.title, "Windows Velmora");
    EXPECT_EQ(config.contentMode, ContentMode::Bundle);
    EXPECT_TRUE(config.enableDevtools);

    AppConfig numberSections = Load(R"({"name":"n","window":5,"settings":[],"messages":"x"})");
    EXPECT_EQ(numberSections.title, "Windows Velmora");
    EXPECT_EQ(numberSections.width, 1024);
    EXPECT_EQ(numberSections.contentMode, ContentMode::Bundle);
    EXPECT_EQ(numberSections.downloadingMessage, "Downloading...");
}

TEST(AppConfig, ParsingIsStrict)
{
    EXPECT_THROW(Load("{\"name\":\"n\"} // comment"), std::exception);
    EXPECT_THROW(Load("/* c */ {\"name\":\"n\"}"), std::exception);
    EXPECT_THROW(Load("{\"name\":\"n\",}"), std::exception);
    EXPECT_THROW(Load("{\"name\":\"n\"} x"), std::exception);
    EXPECT_THROW(Load("{\"name\":\"n"), std::exception);
    EXPECT_THROW(Load(""), std::exception);
    EXPECT_THROW(Load("{\"name\":\"\xff\xfe\"}"), std::exception);
}

TEST(AppConfig, AcceptsBomStopsAtNulAndLastDuplicateWins)
{
    EXPECT_EQ(Load("\xEF\xBB\xBF{\"name\":\"bom\"}").name, "bom");
    EXPECT_EQ(Load(std::string("{\"name\":\"nul\"}\0garbage", 23)).name, "nul");
    EXPECT_EQ(Load(R"({"name":"first","name":"last"})").name, "last");
}

TEST(AppConfig, ExtremeNumbersSaturate)
{
    AppConfig config = Load(R"({"name":"n","window":{"width":1e300,"height":-1e300}})");
    EXPECT_EQ(config.width, INT32_MAX);
    EXPECT_EQ(config.height, INT32_MIN);
    AppConfig wrapped = Load(R"({"name":"n","window":{"width":4294967297,"height":-1}})");
    EXPECT_EQ(wrapped.width, 1);
    EXPECT_EQ(wrapped.height, -1);
}

TEST(AppConfig, DeepNestingIsAParseFailureNotACrash)
{
    const size_t depth = 80000;
    std::string window = "{\"name\":\"n\",\"window\":" + std::string(depth, '[') + std::string(depth, ']') + "}";
    EXPECT_THROW(Load(window), std::exception);
    std::string settings = "{\"name\":\"n\",\"settings\":{\"x\":" + std::string(600, '[') + std::string(600, ']') + "}}";
    EXPECT_THROW(Load(settings), std::exception);
    std::string shallow = "{\"name\":\"n\",\"window\":{\"x\":" + std::string(400, '[') + std::string(400, ']') + "}}";
    EXPECT_EQ(Load(shallow).width, 1024);
}

TEST(AppConfig, WindowBehavioursAreOffUnlessAskedFor)
{
    AppConfig config = Load(R"({"name":"game"})");
    EXPECT_FALSE(config.backgroundColor);
    EXPECT_FALSE(config.fullscreen);
    EXPECT_EQ(config.minWidth, 0);
    EXPECT_EQ(config.minHeight, 0);
    EXPECT_FALSE(config.rememberPlacement);
    EXPECT_EQ(config.dpiAwareness, DpiAwareness::System);
    EXPECT_FALSE(config.singleInstance);
    EXPECT_FALSE(config.closeRequest);
    EXPECT_EQ(config.closeRequestSeconds, 5);
    EXPECT_FALSE(config.autoplay);
    EXPECT_FALSE(config.runInBackground);
    EXPECT_EQ(config.frameRate, FrameRate::Vsync);
    EXPECT_EQ(config.gpu, GpuPreference::Default);
    EXPECT_EQ(config.wineBrowserArguments, "");

    AppConfig asked = Load(R"({"name":"g","window":{"background-color":"#FF8000","fullscreen":true,"min-width":640.7,
        "min-height":360,"remember-placement":true,"dpi-awareness":"per-monitor","frame-rate":"unlimited"},
        "settings":{"single-instance":true,"close-request":true,"close-request-timeout":60,"autoplay":true,
                    "run-in-background":true,"gpu":"high-performance","wine-browser-arguments":"--disable-gpu"}})");
    EXPECT_EQ(asked.backgroundColor, 0xFF8000u);
    EXPECT_TRUE(asked.fullscreen);
    EXPECT_EQ(asked.minWidth, 640);
    EXPECT_EQ(asked.minHeight, 360);
    EXPECT_TRUE(asked.rememberPlacement);
    EXPECT_EQ(asked.dpiAwareness, DpiAwareness::PerMonitor);
    EXPECT_TRUE(asked.singleInstance);
    EXPECT_TRUE(asked.closeRequest);
    EXPECT_EQ(asked.closeRequestSeconds, 60);
    EXPECT_TRUE(asked.autoplay);
    EXPECT_TRUE(asked.runInBackground);
    EXPECT_EQ(asked.frameRate, FrameRate::Unlimited);
    EXPECT_EQ(asked.gpu, GpuPreference::HighPerformance);
    EXPECT_EQ(asked.wineBrowserArguments, "--disable-gpu");
}

TEST(AppConfig, AWindowBehaviourTheHostCannotUseIsItsDefaultAndWarned)
{
    const char* text = R"({"name":"g","window":{"background-color":"red","fullscreen":"yes","min-width":-5,
        "min-height":"360","remember-placement":1,"dpi-awareness":"Per-Monitor"},
        "settings":{"single-instance":null,"close-request":true,"close-request-timeout":0,"autoplay":false}})";
    AppConfig config = Load(text);
    EXPECT_FALSE(config.backgroundColor);
    EXPECT_FALSE(config.fullscreen);
    EXPECT_EQ(config.minWidth, 0);
    EXPECT_EQ(config.minHeight, 0);
    EXPECT_FALSE(config.rememberPlacement);
    EXPECT_EQ(config.dpiAwareness, DpiAwareness::System);
    EXPECT_EQ(config.closeRequestSeconds, 5);
    EXPECT_EQ(ConfigWarnings(text), (std::vector<std::string> {
        "\"window\" \u2192 \"background-color\": \"red\" is not a colour of the form \"#rrggbb\"; the host uses the "
        "system's window colour",
        "\"window\" \u2192 \"fullscreen\": \"yes\" is not true or false; the host uses false",
        "\"window\" \u2192 \"min-width\": -5 is not a number of 0 or more; the host uses no minimum",
        "\"window\" \u2192 \"min-height\": \"360\" is not a number of 0 or more; the host uses no minimum",
        "\"window\" \u2192 \"remember-placement\": 1 is not true or false; the host uses false",
        "\"window\" \u2192 \"dpi-awareness\": \"Per-Monitor\" is neither \"system\" nor \"per-monitor\"; the host uses "
        "\"system\"",
        "\"settings\" \u2192 \"single-instance\": null is not true or false; the host uses false",
        "\"settings\" \u2192 \"close-request-timeout\": 0 is not a number of seconds from 1 to 60; the host uses 5",
    }));
    EXPECT_TRUE(ConfigWarnings(R"({"name":"g","window":{"background-color":"#00aAfF","dpi-awareness":"system"}})").empty());

    const char* shipper = R"({"name":"g","window":{"frame-rate":"120"},
        "settings":{"run-in-background":"yes","gpu":"fast","wine-browser-arguments":["--disable-gpu"]}})";
    AppConfig defaults = Load(shipper);
    EXPECT_FALSE(defaults.runInBackground);
    EXPECT_EQ(defaults.frameRate, FrameRate::Vsync);
    EXPECT_EQ(defaults.gpu, GpuPreference::Default);
    EXPECT_EQ(defaults.wineBrowserArguments, "");
    EXPECT_EQ(ConfigWarnings(shipper), (std::vector<std::string> {
        "\"window\" \u2192 \"frame-rate\": \"120\" is neither \"vsync\" nor \"unlimited\"; the host uses \"vsync\"",
        "\"settings\" \u2192 \"run-in-background\": \"yes\" is not true or false; the host uses false",
        "\"settings\" \u2192 \"gpu\": \"fast\" is neither \"default\" nor \"high-performance\"; the host uses \"default\"",
        "\"settings\" \u2192 \"wine-browser-arguments\": [\"--disable-gpu\"] is not text; the host uses none",
    }));
    EXPECT_TRUE(ConfigWarnings("not json").empty());
}

TEST(AppConfig, ColoursAreSixHexDigitsAfterAHash)
{
    EXPECT_EQ(ParseColour("#000000"), 0u);
    EXPECT_EQ(ParseColour("#a0B1c2"), 0xA0B1C2u);
    for (const char* wrong : {"", "#", "#fff", "#1234567", "123456", "#12345g", "#-12345", "rgb(1,2,3)"})
        EXPECT_FALSE(ParseColour(wrong)) << wrong;
    EXPECT_EQ(ColourText(0x0A0B0C), "#0a0b0c");
}
