#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct BundleSource {
    std::string name;     // relative, "/" between folders
    std::string diskPath; // where its bytes are read from
    uint64_t size = 0;
};

// Every regular file below a folder, named relative to it, in byte order of
// the names, leaving out one path (the bundle being written, if inside).
std::vector<BundleSource> CollectBundleSources(const std::string& folder, const std::string& excluded);

// The source of this name in a list sorted by name, or null.
const BundleSource* FindSource(const std::vector<BundleSource>& sorted, const std::string& name);

// Called with bytes written so far and the total, as file data streams out.
using PackProgress = std::function<void(uint64_t done, uint64_t total)>;

// Writes "assets.dat": header, "blob" with every file's bytes streamed in
// order, then "fdir". Throws std::runtime_error on any I/O failure (with
// the output's path and the system's reason), and when a file's size is
// not the one collected ("changed while packing").
void WriteBundle(const std::vector<BundleSource>& sources, const std::string& output, const PackProgress& progress);

// The bytes WriteBundle writes for these sources.
uint64_t BundleSize(const std::vector<BundleSource>& sources);
