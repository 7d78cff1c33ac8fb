#include <cstdio>
#include <exception>

#include "assets/bundle_writer.h"
#include "tools/velmora-tool/commands/commands.h"
#include "tools/velmora-tool/commands/progress_bar.h"

// Packs every file below a folder into a bundle the host reads.
int RunPackCommand(const std::string& folder, const std::string& bundle)
{
    try {
        std::vector<BundleSource> sources = CollectBundleSources(folder, bundle);
        ProgressBar bar("packing");
        WriteBundle(sources, bundle, [&bar](uint64_t done, uint64_t total) { bar.Update(done, total); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
