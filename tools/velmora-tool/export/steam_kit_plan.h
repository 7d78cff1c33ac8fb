#pragma once

#include <nlohmann/json.hpp>

#include "tools/velmora-tool/export/export_plan.h"

// Valve's library, shipped beside the host when the app brings it.
inline constexpr const char* SteamLibrary = "steam_api64.dll";
// Where the kit's page module lies among the app's web files.
inline constexpr const char* SteamModule = "velmora/steam.mjs";

// For an app whose "package.json" asks for the Steam kit ("steam":
// {"app-id": N}): the kit's library becomes the app's "Tandrel.dll", its
// module a web file, and the app's steam_api64.dll is copied beside the host
// rather than packed. Throws ExportError for an unusable "steam" value, an
// app that brings its own extension library or a file of its own where the
// module goes; warns when steam_api64.dll is missing. The web and copied
// files stay sorted by name.
void PlanSteamKit(const nlohmann::json& package, ExportPlan& plan);
