#include "tools/velmora-tool/export/unity_build.h"

#include <utility>

namespace {

const std::string LoaderSuffix = ".loader.js";
const char* const BuildParts[] = {".data", ".framework.js", ".wasm", ".symbols.json"};

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

const std::pair<const char*, ContentEncoding> Encodings[] = {{".br", ContentEncoding::Brotli}, {".gz", ContentEncoding::Gzip}};

}

std::vector<EncodedBuildFile> UnityEncodedFiles(const std::vector<BundleSource>& files)
{
    std::vector<EncodedBuildFile> encoded;
    for (const BundleSource& loader : files) {
        if (!EndsWith(loader.name, LoaderSuffix))
            continue;
        std::string stem = loader.name.substr(0, loader.name.size() - LoaderSuffix.size());
        for (const char* part : BuildParts) {
            for (const auto& [suffix, encoding] : Encodings) {
                std::string name = stem + part + suffix;
                if (FindSource(files, name))
                    encoded.push_back({name, encoding});
            }
        }
    }
    return encoded;
}
