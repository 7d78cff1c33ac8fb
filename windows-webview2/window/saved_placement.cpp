#include "window/saved_placement.h"

#include <algorithm>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "common/json_readers.h"

namespace {

const int32_t MaxSide = 32767;
const int32_t MinCoordinate = -32768;
const int32_t MaxCoordinate = 65535;
// The title bar's height that must lie on a work area.
const int32_t TitleBar = 24;

bool ReadCoordinate(const nlohmann::json& value, const char* key, int32_t& out)
{
    auto it = value.find(key);
    if (it == value.end() || !it->is_number_integer())
        return false;
    int64_t number = it->get<int64_t>();
    if (number < MinCoordinate || number > MaxCoordinate)
        return false;
    out = static_cast<int32_t>(number);
    return true;
}

bool ReadFlag(const nlohmann::json& value, const char* key, bool& out)
{
    auto it = value.find(key);
    if (it == value.end() || !it->is_boolean())
        return false;
    out = it->get<bool>();
    return true;
}

}

std::string SavedPlacementText(const SavedPlacement& placement)
{
    const WindowRect& frame = placement.normal;
    char text[160];
    std::snprintf(text, sizeof text, "{\"left\":%d,\"top\":%d,\"right\":%d,\"bottom\":%d,\"maximized\":%s,\"fullscreen\":%s}\n",
        frame.left, frame.top, frame.right, frame.bottom, placement.maximized ? "true" : "false",
        placement.fullscreen ? "true" : "false");
    return text;
}

std::optional<SavedPlacement> ParseSavedPlacement(const std::string& text)
{
    nlohmann::json value;
    try {
        value = ParseJsonText(text);
    } catch (...) {
        return std::nullopt;
    }
    SavedPlacement placement;
    WindowRect& frame = placement.normal;
    if (!value.is_object() || !ReadCoordinate(value, "left", frame.left) || !ReadCoordinate(value, "top", frame.top)
        || !ReadCoordinate(value, "right", frame.right) || !ReadCoordinate(value, "bottom", frame.bottom)
        || !ReadFlag(value, "maximized", placement.maximized) || !ReadFlag(value, "fullscreen", placement.fullscreen))
        return std::nullopt;
    if (frame.Width() < 1 || frame.Width() > MaxSide || frame.Height() < 1 || frame.Height() > MaxSide)
        return std::nullopt;
    return placement;
}

bool IsReachable(const WindowRect& frame, const std::vector<WindowRect>& workAreas)
{
    int32_t needed = std::min(100, frame.Width());
    for (const WindowRect& area : workAreas) {
        int32_t overlap = std::min(frame.right, area.right) - std::max(frame.left, area.left);
        if (overlap >= needed && frame.top >= area.top && frame.top + TitleBar <= area.bottom)
            return true;
    }
    return false;
}
