#include <chrono>
#include <cstdio>
#include <exception>
#include <unistd.h>

#include "assets/bundle_writer.h"
#include "tools/velmora-tool/commands.h"

namespace {

// A one-line bar on a terminal, shown only once a pack has taken a moment.
class ProgressBar {
public:
    void Update(uint64_t done, uint64_t total)
    {
        auto now = std::chrono::steady_clock::now();
        if (!isatty(fileno(stderr)) || now - start < std::chrono::milliseconds(500) || now - last < std::chrono::milliseconds(100))
            return;
        last = now;
        shown = true;
        int percent = total ? static_cast<int>(done * 100 / total) : 100;
        std::fprintf(stderr, "\rpacking [%-40s] %3d%% %llu/%llu MB", std::string(static_cast<size_t>(percent * 40 / 100), '#').c_str(),
            percent, static_cast<unsigned long long>(done >> 20), static_cast<unsigned long long>(total >> 20));
    }
    ~ProgressBar()
    {
        if (shown)
            std::fputc('\n', stderr);
    }

private:
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last;
    bool shown = false;
};

}

// Packs every file below a folder into a bundle the host reads.
int RunPackCommand(const CommandArgs& args)
{
    if (args.size() != 2) {
        std::fputs("usage: velmora-tool pack <folder> <assets.dat>\n", stderr);
        return 2;
    }
    try {
        std::vector<BundleSource> sources = CollectBundleSources(args[0], args[1]);
        ProgressBar bar;
        WriteBundle(sources, args[1], [&bar](uint64_t done, uint64_t total) { bar.Update(done, total); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
