#include <gtest/gtest.h>

#include "window/workspace_coordinates.h"

// Work areas whose origin is not their monitor's: a taskbar at the top of
// the primary monitor, one at the left of a second monitor to its left.
TEST(WorkspaceCoordinates, DifferFromScreenCoordinatesByTheWorkAreasPlaceOnItsMonitor)
{
    MonitorAreas topTaskbar {{0, 0, 1920, 1080}, {0, 48, 1920, 1080}};
    MonitorAreas leftTaskbar {{-1280, 0, 0, 1024}, {-1220, 0, 0, 1024}};
    MonitorAreas plain {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
    const WindowRect workspace {100, 0, 900, 600};
    EXPECT_EQ((WindowRect {100, 48, 900, 648}), WorkspaceToScreen(workspace, topTaskbar));
    EXPECT_EQ((WindowRect {160, 0, 960, 600}), WorkspaceToScreen(workspace, leftTaskbar));
    EXPECT_EQ(workspace, WorkspaceToScreen(workspace, plain)) << "a taskbar at the bottom changes nothing";
    for (const MonitorAreas& areas : {topTaskbar, leftTaskbar, plain})
        EXPECT_EQ(workspace, ScreenToWorkspace(WorkspaceToScreen(workspace, areas), areas));
}
