#include <gtest/gtest.h>

#include "bridge/web_message_bridge.h"
#include "tests/unit/webview/webview_double.h"
#include "window/window_state.h"

namespace {

struct WebMessageBridgeTest : testing::Test {
    MainWindowModel window;
    WindowState windowState {window};

    std::vector<std::string> Run(const std::string& text)
    {
        window.calls.clear();
        HandleWebMessage(windowState, text);
        return window.calls;
    }
};

using Calls = std::vector<std::string>;

}

TEST_F(WebMessageBridgeTest, WindowMessagesActOnTheWindow)
{
    window.dpiFactor = 1.5f;
    EXPECT_EQ(Calls {"resize 1216 939"}, Run(R"({"type":"set-window-size","windowWidth":800,"windowHeight":600})"));
    window.dpiFactor = 1.0f;
    EXPECT_EQ(Calls {"move -10 20"}, Run(R"({"type":"set-window-position","windowX":-10.7,"windowY":20})"));
    EXPECT_EQ(Calls {"move 0 0"}, Run(R"({"type":"set-window-position"})"));
    EXPECT_EQ(3u, Run(R"({"type":"set-fullscreen","fullscreen":true})").size());
    EXPECT_TRUE(windowState.IsFullscreen());
    EXPECT_EQ(3u, Run(R"({"type":"set-fullscreen"})").size());
    EXPECT_FALSE(windowState.IsFullscreen());
}

TEST_F(WebMessageBridgeTest, AnythingElseIsDroppedQuietly)
{
    for (const char* text : {R"({"type":"SET-FULLSCREEN","fullscreen":true})", R"([1,2])", R"("set-fullscreen")",
             R"({"type":"set-window-size","windowWidth":0,"windowHeight":600})", "{broken", "",
             R"({"type":"set-window-size","windowWidth":"800","windowHeight":600})", R"({"type":7})"}) {
        EXPECT_TRUE(Run(text).empty()) << text;
    }
    EXPECT_FALSE(windowState.IsFullscreen());
}
