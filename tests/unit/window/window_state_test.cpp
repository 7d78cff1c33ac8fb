#include <gtest/gtest.h>

#include "tests/unit/webview/webview_double.h"
#include "window/window_state.h"

namespace {

struct WindowStateTest : testing::Test {
    MainWindowModel window;
    WindowState windowState {window};
};

}

TEST_F(WindowStateTest, FullScreenCoversTheMonitorAndRestoresTheFirstSavedState)
{
    WindowRect windowed = window.frame;
    windowState.SetFullscreen(true);
    EXPECT_EQ((std::vector<std::string>{"styles 720896 0", "place 0 0 1920 1080", "taskbar true"}), window.calls);
    windowState.SetFullscreen(true);
    EXPECT_EQ(3u, window.calls.size());

    windowState.SetFullscreen(false);
    EXPECT_EQ(windowed, window.frame);
    EXPECT_EQ("restore 100 50 916 689", window.calls[4]);
    EXPECT_EQ(0x00CF0000u, window.style);
    EXPECT_EQ(0x100u, window.exStyle);
    EXPECT_EQ("taskbar false", window.calls.back());
    windowState.SetFullscreen(false);
    EXPECT_EQ(6u, window.calls.size());
}

TEST_F(WindowStateTest, AMaximizedWindowComesBackMaximizedWithItsNormalPlace)
{
    window.maximized = true;
    window.normalFrame = {10, 20, 510, 420};
    window.frame = {0, 0, 1920, 1040};
    windowState.SetFullscreen(true);
    EXPECT_EQ(window.monitor, window.frame);
    windowState.SetFullscreen(false);
    EXPECT_EQ("restore maximized 10 20 510 420", window.calls[4]);
    EXPECT_TRUE(window.maximized);
    EXPECT_EQ((WindowRect {10, 20, 510, 420}), window.normalFrame);
}

TEST_F(WindowStateTest, SizesAreScaledAndFramedAndBadOnesIgnored)
{
    window.dpiFactor = 1.5f;
    windowState.SetWindowSize(800, 600);
    EXPECT_EQ("resize 1216 939", window.calls.back());
    EXPECT_EQ(1200, window.ClientRect().Width());
    EXPECT_EQ(900, window.ClientRect().Height());

    window.calls.clear();
    windowState.SetWindowSize(0, 500);
    windowState.SetWindowSize(-1, -1);
    windowState.SetWindowSize(500, 0);
    EXPECT_TRUE(window.calls.empty());

    windowState.SetWindowPosition(-10, 20);
    EXPECT_EQ("move -15 30", window.calls.back());
}

TEST_F(WindowStateTest, FullScreenIgnoresSizeAndPositionRequests)
{
    windowState.SetFullscreen(true);
    window.calls.clear();
    windowState.SetWindowSize(800, 600);
    windowState.SetWindowPosition(10, 10);
    EXPECT_TRUE(window.calls.empty());
}
