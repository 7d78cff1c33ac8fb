#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "assets/asset_bundle.h"
#include "assets/bundle_istream.h"
#include "tools/velmora-tool/commands/commands.h"

// Lists the directory in name order, including the entries read before a fault.
int RunLsCommand(const std::string& bundlePath)
{
    // Opening a pipe or a device would wait, or read forever.
    if (!std::filesystem::is_regular_file(bundlePath)) {
        std::fprintf(stderr, "not a bundle file: %s\n", bundlePath.c_str());
        return 1;
    }
    std::ifstream file(bundlePath, std::ios::binary | std::ios::ate);
    if (!file) {
        std::fprintf(stderr, "cannot open %s\n", bundlePath.c_str());
        return 1;
    }
    uint64_t size = static_cast<uint64_t>(file.tellg());
    file.seekg(0);
    AssetBundle bundle;
    IstreamBundleSource source(file);
    bundle.AttachStream(source, size);
    int status = 0;
    std::string error;
    try {
        bundle.Parse();
    } catch (const std::exception& failure) {
        error = failure.what();
        status = 1;
    }
    for (const BundleEntry& entry : bundle.Directory())
        std::printf("%llu %llu %.*s\n", static_cast<unsigned long long>(entry.offset),
            static_cast<unsigned long long>(entry.size), static_cast<int>(entry.nameLength), entry.nameData);
    std::fflush(stdout);
    if (status)
        std::fprintf(stderr, "%s\n", error.c_str());
    return status;
}
