#include <gtest/gtest.h>

#include "webview_double.h"

namespace {

struct WindowStateTest : testing::Test, HostOverDoubles {};

}

TEST_F(WindowStateTest, FullScreenCoversTheMonitorAndRestoresTheFirstSavedState)
{
    WindowRect windowed = window.frame;
    host.SetFullscreen(true);
    EXPECT_EQ((std::vector<std::string>{"styles 720896 0", "place 0 0 1920 1080", "taskbar true"}), window.calls);
    host.SetFullscreen(true);
    EXPECT_EQ(3u, window.calls.size());

    host.SetFullscreen(false);
    EXPECT_EQ(windowed, window.frame);
    EXPECT_EQ(0x00CF0000u, window.style);
    EXPECT_EQ(0x100u, window.exStyle);
    EXPECT_EQ("taskbar false", window.calls.back());
    host.SetFullscreen(false);
    EXPECT_EQ(6u, window.calls.size());
}

TEST_F(WindowStateTest, SizesAreScaledAndFramedAndBadOnesIgnored)
{
    window.dpiFactor = 1.5f;
    host.SetWindowSize(800, 600);
    EXPECT_EQ("resize 1216 939", window.calls.back());
    EXPECT_EQ(1200, window.ClientRect().Width());
    EXPECT_EQ(900, window.ClientRect().Height());

    window.calls.clear();
    host.SetWindowSize(0, 500);
    host.SetWindowSize(-1, -1);
    host.SetWindowSize(500, 0);
    EXPECT_TRUE(window.calls.empty());

    host.SetWindowPosition(-10, 20);
    EXPECT_EQ("move -15 30", window.calls.back());
}

TEST_F(WindowStateTest, FullScreenIgnoresSizeAndPositionRequests)
{
    host.SetFullscreen(true);
    window.calls.clear();
    host.SetWindowSize(800, 600);
    host.SetWindowPosition(10, 10);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(WindowStateTest, WindowChangesReachTheControllerOnlyOnceItExists)
{
    host.OnWindowSized();
    host.OnWindowMoved();
    EXPECT_TRUE(runtime.calls.empty());

    host.Init();
    runtime.CompleteEnvironment();
    runtime.CompleteController();
    window.frame = {0, 0, 516, 439};
    host.OnWindowSized();
    EXPECT_EQ("SetBounds 0 0 500 400", runtime.calls.back());
    host.OnWindowMoved();
    EXPECT_EQ("NotifyParentWindowPositionChanged", runtime.calls.back());
}
