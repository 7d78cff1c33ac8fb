#include "tools/velmora-tool/export/unity_build.h"

#include <algorithm>

namespace {

const std::string LoaderSuffix = ".loader.js";
const char* const BuildParts[] = {".data", ".framework.js", ".wasm", ".symbols.json"};

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool Holds(const std::vector<BundleSource>& files, const std::string& name)
{
    auto found = std::lower_bound(files.begin(), files.end(), name,
        [](const BundleSource& file, const std::string& wanted) { return file.name < wanted; });
    return found != files.end() && found->name == name;
}

}

std::vector<EncodedBuildFile> UnityEncodedFiles(const std::vector<BundleSource>& files)
{
    std::vector<EncodedBuildFile> encoded;
    for (const BundleSource& loader : files) {
        if (!EndsWith(loader.name, LoaderSuffix))
            continue;
        std::string stem = loader.name.substr(0, loader.name.size() - LoaderSuffix.size());
        for (const char* part : BuildParts) {
            if (Holds(files, stem + part + ".br"))
                encoded.push_back({stem + part + ".br", ContentEncoding::Brotli});
            if (Holds(files, stem + part + ".gz"))
                encoded.push_back({stem + part + ".gz", ContentEncoding::Gzip});
        }
    }
    return encoded;
}
