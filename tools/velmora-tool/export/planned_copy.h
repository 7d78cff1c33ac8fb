#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "assets/bundle_writer.h"

// Copies a file of the plan into the export: exactly the size it had when
// the export was planned, or "changed while packing" for a file that grew
// or shrank since. `between` runs between blocks (to stop an interrupted
// export). Write failures name the target and the system's reason.
void CopyPlannedFile(const BundleSource& source, const std::filesystem::path& to, const std::function<void()>& between);

// Writes a whole file the export makes itself (its package.json, the
// installer's script); a failure names the file and the system's reason.
void WriteTextFile(const std::filesystem::path& to, const std::string& text);
