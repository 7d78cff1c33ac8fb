#pragma once

#include <functional>
#include <string>
#include <vector>

// Writes a zip archive of files below folder, each stored as it is (game
// assets are compressed already), under top + "/" + its relative name, in
// the order given, with the fixed time 1980-01-01 00:00: the same files
// always give the same bytes. The zip64 extension is written where a value
// needs it: a file or an entry's place of 4 GiB or more, and 65,535 entries
// or more. `between` runs between blocks (to stop an interrupted export).
// Throws std::runtime_error on an I/O failure (with the path and the
// system's reason), or on a file that changed while it was zipped.
void WriteStoredZip(const std::string& folder, const std::vector<std::string>& relativeNames, const std::string& top,
    const std::string& zipPath, const std::function<void()>& between);
