#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/velmora-tool/version_resource.h"

// What the Windows installer of an export is made from.
struct InstallerFacts {
    std::string appName;        // "name": the install, Start-menu and user-data folders' name
    std::string title;          // what the installer calls the app: the window title, else "name"
    std::string executableName; // the host executable
    VersionFields version;      // the host's version information
    std::string sourceFolder;   // the export folder, absolute
    std::vector<std::string> files; // the export's files, relative, "/" between folders
    std::string iconFile;       // an .ico for the installer, or empty
    std::string outFile;        // where makensis writes the installer
};

// The NSIS script of a per-user installer (no administrator rights) of the
// export: into the user's programs folder, a Start-menu shortcut (a desktop
// one when chosen), an uninstaller registered for the current user that
// removes exactly the installed files and leaves the app's data unless
// asked ("/REMOVEDATA", or yes to its question). File dates are not kept,
// so the same export gives the same installer.
std::string InstallerScript(const InstallerFacts& facts);

// An .ico file of PNG images (size in pixels, bytes), as the installer's
// icon.
std::string IcoFile(const std::vector<std::pair<int32_t, std::string>>& images);
