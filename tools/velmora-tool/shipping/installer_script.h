#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "config/user_data_mark.h"
#include "tools/velmora-tool/resources/version_resource.h"

// One file the installer installs.
struct InstalledFile {
    std::string name;   // relative to the install folder, "/" between folders
    std::string source; // where makensis reads it, relative to the script's folder
    bool compress;      // LZMA; otherwise stored as it is
};

// What the Windows installer of an export is made from. The files makensis
// reads (sources, the icon, the output) have plain names in the script's
// folder, where makensis runs: the app's own names reach the script only
// as text the installer writes.
struct InstallerFacts {
    std::string appName;        // "name": the install, Start-menu and user-data folders' name
    std::string title;          // what the installer calls the app: the window title, else "name"
    std::string shortcutName;   // the shortcuts' file name, without ".lnk" (ShortcutNameFor)
    std::string executableName; // the host executable
    VersionFields version;      // the host's version information
    std::vector<InstalledFile> files;
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

// Text as a literal NSIS string, without its quotes: no variable, define,
// environment value or language string of the build machine can enter it
// ("$" is written so that neither makensis's preprocessor nor the
// installer reads it), and line breaks and tabs are NSIS's escapes.
std::string NsisLiteral(const std::string& text);

// A shortcut's file name for the window title: cleaned as the executable's
// name is (no wildcard or other character Windows forbids, no reserved
// device name), so that the uninstaller deletes exactly that one file.
std::string ShortcutNameFor(const std::string& title);

// An .ico file of PNG images (size in pixels, bytes), as the installer's
// icon.
std::string IcoFile(const std::vector<std::pair<int32_t, std::string>>& images);
