#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Whether files of these sizes, under names of these lengths in all, fit a
// zip without the zip64 extension: fewer than 65,535 entries, each file and
// the whole archive under 4 GiB. Throws std::runtime_error saying which
// limit is passed.
void CheckZipFits(const std::vector<uint64_t>& fileSizes, uint64_t nameBytes);

// Writes a zip archive of files below folder, each stored as it is (game
// assets are compressed already), under top + "/" + its relative name, in
// the order given, with the fixed time 1980-01-01 00:00: the same files
// always give the same bytes. `between` runs between blocks (to stop an
// interrupted export). Throws std::runtime_error on an I/O failure (with the
// path and the system's reason), on a file that changed while it was
// zipped, or on a limit passed (see CheckZipFits).
void WriteStoredZip(const std::string& folder, const std::vector<std::string>& relativeNames, const std::string& top,
    const std::string& zipPath, const std::function<void()>& between);
