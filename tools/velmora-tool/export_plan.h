#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "assets/bundle_writer.h"
#include "config/app_config.h"

// A refusal to export, with the text the user is shown.
struct ExportError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What an export of an app folder holds besides the programs: the app's
// files for "www" (in byte order of their names) and the files copied as
// they are (icon images, "icons.json" when it holds the icon list, and
// "Tandrel.dll"), by relative name.
struct ExportPlan {
    std::string packageText; // "package.json" as read
    AppConfig config;
    std::string executableName;
    std::vector<BundleSource> webFiles;
    std::vector<std::string> copiedFiles;
};

// Reads and checks the app folder; throws ExportError for a missing or
// invalid "package.json", a missing start page or icon image, and a link
// that leads out of the folder, to a folder, or to nothing.
// "package.json" may list paths to leave out of "www" in "export-exclude"
// (a name ending in "/" leaves out that folder).
ExportPlan PlanExport(const std::string& appFolder);
