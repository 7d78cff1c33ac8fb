#include <cstdio>
#include <exception>

#include "assets/bundle_writer.h"
#include "tools/velmora-tool/commands/commands.h"
#include "tools/velmora-tool/commands/progress_bar.h"

// Packs every file below a folder into a bundle the host reads.
int RunPackCommand(const CommandArgs& args)
{
    if (args.size() != 2) {
        std::fputs("usage: velmora-tool pack <folder> <assets.dat>\n", stderr);
        return 2;
    }
    try {
        std::vector<BundleSource> sources = CollectBundleSources(args[0], args[1]);
        ProgressBar bar("packing");
        WriteBundle(sources, args[1], [&bar](uint64_t done, uint64_t total) { bar.Update(done, total); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
