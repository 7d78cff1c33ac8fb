#include "window/workspace_coordinates.h"

namespace {

WindowRect Shifted(const WindowRect& rect, int32_t x, int32_t y)
{
    return {rect.left + x, rect.top + y, rect.right + x, rect.bottom + y};
}

}

WindowRect WorkspaceToScreen(const WindowRect& rect, const MonitorAreas& areas)
{
    return Shifted(rect, areas.work.left - areas.monitor.left, areas.work.top - areas.monitor.top);
}

WindowRect ScreenToWorkspace(const WindowRect& rect, const MonitorAreas& areas)
{
    return Shifted(rect, areas.monitor.left - areas.work.left, areas.monitor.top - areas.work.top);
}
