#pragma once

#include <string>
#include <vector>

// Writes a zip archive of files below folder, each stored as it is (game
// assets are compressed already), under top + "/" + its relative name, in
// the order given, with the fixed time 1980-01-01 00:00: the same files
// always give the same bytes. Throws std::runtime_error on an I/O failure
// or a file of 4 GiB or more, which needs the zip64 extension.
void WriteStoredZip(const std::string& folder, const std::vector<std::string>& relativeNames, const std::string& top,
    const std::string& zipPath);
