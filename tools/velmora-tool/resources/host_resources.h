#pragma once

#include <string>

#include "tools/velmora-tool/export/export_plan.h"

inline constexpr uint16_t RtVersion = 16;

// Writes into the exported host executable (stagingFolder + the plan's
// executable name) the icons of the app's icon list, by the icon updater's
// own rules, and its version information. Throws ExportError when the
// executable cannot take them.
void WriteHostResources(const ExportPlan& plan, const std::string& stagingFolder);
