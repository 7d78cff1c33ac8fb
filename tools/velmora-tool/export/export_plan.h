#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/bundle_writer.h"
#include "config/app_config.h"
#include "tools/velmora-tool/export/decoded_file.h"

// A refusal to export, with the text the user is shown.
struct ExportError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What an export of an app folder holds besides the programs: the app's
// files for "www" (in byte order of their names) and the files copied as
// they are (icon images, "icons.json" when it holds the icon list, and
// "Tandrel.dll"), by relative name.
struct ExportPlan {
    std::string packageText; // the exported "package.json"
    AppConfig config;
    // The window title when "package.json" sets one, else empty.
    std::string windowTitle;
    std::string executableName;
    std::vector<BundleSource> webFiles;
    std::vector<BundleSource> copiedFiles;
    // The decoded bytes that the web files of Unity's compressed build files
    // are read from (UnityEncodedFiles), held as long as the plan.
    std::vector<std::shared_ptr<DecodedFile>> decodedFiles;
    // Values of "package.json" the host would replace by its default; the
    // export still goes on.
    std::vector<std::string> warnings;
};

// The app's extension library, in lower case: copied, never packed.
inline constexpr const char* ExtensionLibrary = "tandrel.dll";

// The names an export writes itself, beside the app's files.
inline constexpr const char* ExportProgramNames[] = {"Quorvel.exe", "WebView2Loader.dll"};

// Whether an export writes this path (relative, "/" between folders)
// itself, whatever the app holds: "package.json", the programs beside the
// host, the extension library and anything in "www" (case ignored, as on
// Windows). The host executable's own name is the plan's.
bool IsExportOwnPath(const std::string& path);

// Reads and checks the app folder, before anything is written; throws
// ExportError naming the file and the reason for: a missing or invalid
// "package.json" (or one that is not UTF-8), a "name" that is no folder
// name on Windows, a missing start page (as the host will ask for it), a
// missing, empty or excluded icon image, icon images too large for the
// resources, an "export-exclude" entry that matches nothing, a link that
// leads out of the folder, to a folder, in a loop or to nothing, a file
// that is neither a file nor a folder, and any name Windows cannot hold or
// takes for another's (see ExportNames), and compressed Unity build files
// that do not decode. "loose" says whether the app's
// files will lie in "www" rather than in the bundle.
ExportPlan PlanExport(const std::string& appFolder, bool loose);
