#pragma once

#include <filesystem>

#include "tools/velmora-tool/export_plan.h"

// Before anything is written: makensis must be there.
void CheckInstallerTools();

// Makes the installer of the staged export at `out` with makensis, from the
// script InstallerScript writes (and an icon of the app's icon images).
// Throws ExportError with makensis's reason.
void BuildInstaller(const ExportPlan& plan, const std::filesystem::path& staging, const std::filesystem::path& out);
