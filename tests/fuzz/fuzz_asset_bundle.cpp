#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "assets/asset_bundle.h"

// Any image parses or throws a runtime error, and every entry it keeps lies
// inside the image (the copy is exactly as large as the input, so the
// address sanitizer sees any byte read past it). The entries kept, up to a
// fault too, are in strict name order, and each is what a lookup finds; a
// lookup of a longer name finds that name or nothing.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> image(data, data + size);
    AssetBundle bundle;
    bundle.AttachMemory(image.data(), image.size());
    try {
        bundle.Parse();
    } catch (const std::runtime_error&) {
    }
    volatile uint8_t sink = 0;
    const BundleEntry* previous = nullptr;
    for (const BundleEntry& entry : bundle.Directory()) {
        if (previous && !(previous->Name() < entry.Name()))
            __builtin_trap();
        std::optional<BundleEntry> found = bundle.Find(entry.Name());
        if (!found || found->nameData != entry.nameData || found->nameLength != entry.nameLength ||
            found->offset != entry.offset || found->size != entry.size || found->extra != entry.extra)
            __builtin_trap();
        std::string longer = std::string(entry.Name()) + '\0';
        std::optional<BundleEntry> other = bundle.Find(longer);
        if (other && other->Name() != longer)
            __builtin_trap();
        previous = &entry;
        if (entry.size == 0)
            continue;
        const uint8_t* first = bundle.FileData(entry.offset);
        if (first < image.data() || first + entry.size > image.data() + image.size())
            __builtin_trap();
        sink = sink + first[0] + first[entry.size - 1];
    }
    return 0;
}
