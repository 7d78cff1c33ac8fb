#pragma once

#include <string>
#include <vector>

#include "Quorvel/export_files.h"
#include "Quorvel/icon_list.h"
#include "Quorvel/resource_updater.h"

// Writes the icons (read from folderPath + src) into the executable as
// RT_ICON 1..n in the neutral language and the group "MAINICON", removing
// same-numbered English images and every old icon group. All or nothing:
// true only when the update was committed.
bool WriteIconResources(IResourceUpdater& updater, IExportFiles& files, const std::string& exePath,
    const std::string& folderPath, const std::vector<IconEntry>& icons);
