#pragma once

#include <optional>
#include <string>

#include "window/saved_placement.h"

// The placement saved in the user-data folder, when it is whole and still
// reachable on one of the monitors attached now.
std::optional<SavedPlacement> LoadReachablePlacement(const std::string& userDataFolder);
// Written beside the old file and renamed onto it, so that a run that ends
// midway leaves the old one whole; a failure only loses this placement.
void StorePlacement(const std::string& userDataFolder, const SavedPlacement& placement);
