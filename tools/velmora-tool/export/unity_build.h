#pragma once

#include <string>
#include <vector>

#include "assets/bundle_writer.h"

enum class ContentEncoding { Brotli, Gzip };

struct EncodedBuildFile {
    std::string name;
    ContentEncoding encoding;
};

// The compressed files of Unity WebGL builds among an app's files (sorted by
// name): beside each loader "<folder>/<stem>.loader.js", the files
// "<stem>.data", ".framework.js", ".wasm" and ".symbols.json" followed by
// ".br" or ".gz". A build made without the decompression fallback needs
// the server to announce their encoding, which a host answering the page
// itself cannot do (the runtime passes such a body on undecoded), so the
// export ships them decoded. Nothing else is taken for a build file: a game
// may fetch a compressed file to decode it itself.
std::vector<EncodedBuildFile> UnityEncodedFiles(const std::vector<BundleSource>& files);
