#pragma once

#include <array>
#include <string>
#include <vector>

#include "Quorvel/export_files.h"
#include "Quorvel/icon_list.h"
#include "Quorvel/resource_updater.h"

// The folders searched, relative to the tool's own folder, in order.
inline constexpr std::array<const char*, 6> ExportFolders = {"", "x86\\", "x64\\", "arm64\\", "win32\\", "win64\\"};

// Executables of an export that are never the app, in lower case.
inline constexpr std::array<const char*, 3> ExcludedExecutables = {
    "notification_helper.exe", "dxwebsetup.exe", "quorvel.exe"};

// The folder's icon list from "package.json", or from "icons.json" when
// the former is missing or empty. Throws when neither has content, the
// list is unreadable, or it accepts no entry.
std::vector<IconEntry> LoadFolderIconList(IExportFiles& files, const std::string& folderPath);

// The first listed name that is not excluded, compared without regard to
// ASCII case; empty when there is none.
std::string ChooseTargetExecutable(const std::vector<std::string>& names);

// Throws when the executable has bytes after its last section, which a
// resource update would drop.
void CheckNoOverlay(IExportFiles& files, const std::string& exePath);

// Updates the icons of one export folder: its entry followed by the
// updated executable's name, or empty when nothing was updated.
std::string ProcessFolder(IExportFiles& files, IResourceUpdater& updater, const std::string& toolFolder,
    const std::string& entry);

// ProcessFolder over every export folder in order; the non-empty results.
std::vector<std::string> ProcessExport(IExportFiles& files, IResourceUpdater& updater, const std::string& toolFolder);
