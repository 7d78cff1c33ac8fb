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

TEST_F(WindowStateTest, AMinimumClientSizeBoundsTheFrameAndRaisesRequestedSizes)
{
    EXPECT_EQ(0, windowState.MinimumFrameSize().width) << "no minimum unless asked for";
    window.dpiFactor = 1.5f;
    windowState.SetMinimumClientSize(640, 0);
    OuterSize minimum = windowState.MinimumFrameSize();
    EXPECT_EQ(960 + 16, minimum.width);
    EXPECT_EQ(0, minimum.height) << "a side without a minimum stays free";
    windowState.SetWindowSize(320, 200);
    EXPECT_EQ("resize 976 339", window.calls.back()) << "raised to 640 x 200 at 1.5";

    windowState.SetMinimumClientSize(640, 360);
    windowState.SetFullscreen(true);
    EXPECT_EQ(960 + 16, windowState.MinimumFrameSize().width) << "measured with the framed styles it goes back to";
    EXPECT_EQ(540 + 39, windowState.MinimumFrameSize().height);
}

TEST_F(WindowStateTest, StartingInFullScreenLeavesItForTheSizeCentredOnTheMonitor)
{
    WindowRect configured = window.frame;
    windowState.StartFullscreen();
    EXPECT_TRUE(windowState.IsFullscreen());
    EXPECT_EQ(window.monitor, window.frame);
    EXPECT_FALSE(window.visible) << "the window is shown later, already full screen";
    windowState.SetFullscreen(false);
    EXPECT_EQ(configured.Width(), window.frame.Width());
    EXPECT_EQ(configured.Height(), window.frame.Height());
    EXPECT_EQ((1920 - configured.Width()) / 2, window.frame.left);
    EXPECT_EQ((1080 - configured.Height()) / 2, window.frame.top);
}

TEST_F(WindowStateTest, ADpiChangeTakesTheSuggestedFrameAndLaterSizesTheNewScale)
{
    // WM_DPICHANGED on moving to a 144-DPI monitor, as documented: the
    // suggested frame keeps the same size in 96-DPI units.
    window.dpiFactor = 1.5f;
    windowState.ApplyDpiChange({1920, 0, 1920 + 1224, 0 + 958});
    EXPECT_EQ((WindowRect {1920, 0, 3144, 958}), window.frame);
    windowState.SetWindowSize(400, 300);
    EXPECT_EQ("resize 616 489", window.calls.back());

    window.monitor = {1920, 0, 1920 + 2560, 1440};
    windowState.SetFullscreen(true);
    windowState.ApplyDpiChange({0, 0, 500, 500});
    EXPECT_EQ(window.monitor, window.frame) << "full screen keeps covering the monitor it is on";
    EXPECT_EQ(616, windowState.WindowedPlacement().normal.Width()) << "and remembers the windowed frame";
}
