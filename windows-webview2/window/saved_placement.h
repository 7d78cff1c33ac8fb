#pragma once

#include <optional>
#include <string>
#include <vector>

#include "window/window_rect.h"

// Where the player left the window ("window" → "remember-placement"),
// kept in the user-data folder between runs.
struct SavedPlacement {
    WindowRect normal; // the frame when neither maximised nor full screen
    bool maximized = false;
    bool fullscreen = false;
};

inline constexpr const char* SavedPlacementFile = "window-placement.json";

std::string SavedPlacementText(const SavedPlacement& placement);
// Nothing for a damaged or hostile text: anything but the four edges as
// whole numbers making a frame of 1 to 32,767 pixels a side, within the
// coordinates Windows gives, and the two states as true or false.
std::optional<SavedPlacement> ParseSavedPlacement(const std::string& text);
// Whether the frame can still be reached on one of these work areas: its
// top edge (the title bar) lies on one of them, over at least 100 pixels
// of its width (all of it when narrower).
bool IsReachable(const WindowRect& frame, const std::vector<WindowRect>& workAreas);
