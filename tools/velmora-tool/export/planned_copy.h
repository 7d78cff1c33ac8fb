#pragma once

#include <filesystem>
#include <functional>

#include "assets/bundle_writer.h"

// Copies a file of the plan into the export: exactly the size it had when
// the export was planned, or "changed while packing" for a file that grew
// or shrank since. `between` runs between blocks (to stop an interrupted
// export). Write failures name the target and the system's reason.
void CopyPlannedFile(const BundleSource& source, const std::filesystem::path& to, const std::function<void()>& between);
