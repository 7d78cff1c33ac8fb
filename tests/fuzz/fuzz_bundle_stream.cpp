#include <cstddef>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/asset_bundle.h"
#include "assets/bundle_istream.h"

namespace {

// The directory and blob size a reader found, or the text it threw.
struct Reading {
    std::string error;
    std::vector<BundleEntry> entries;
    uint64_t blobSize = 0;
};

Reading Outcome(AssetBundle& bundle)
{
    Reading reading;
    try {
        bundle.Parse();
    } catch (const std::runtime_error& error) {
        reading.error = error.what();
    }
    reading.entries = bundle.Directory();
    reading.blobSize = bundle.BlobSize();
    return reading;
}

bool SameEntry(const BundleEntry& a, const BundleEntry& b)
{
    return a.Name() == b.Name() && a.compression == b.compression && a.offset == b.offset && a.size == b.size &&
           a.extra == b.extra;
}

}

// The stream reader (velmora-tool's) and the memory reader (the host's) read
// the same bytes alike: the same entries, or the same error text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> image(data, data + size);
    AssetBundle mapped;
    mapped.AttachMemory(image.data(), image.size());
    Reading fromMemory = Outcome(mapped);

    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    IstreamBundleSource source(text);
    AssetBundle streamed;
    streamed.AttachStream(source, size);
    Reading fromStream = Outcome(streamed);

    if (fromMemory.error != fromStream.error || fromMemory.blobSize != fromStream.blobSize ||
        fromMemory.entries.size() != fromStream.entries.size())
        __builtin_trap();
    for (size_t k = 0; k < fromMemory.entries.size(); ++k) {
        if (!SameEntry(fromMemory.entries[k], fromStream.entries[k]))
            __builtin_trap();
    }
    return 0;
}
