#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "Quorvel/pe_layout.h"
#include "Quorvel/resource_updater.h"

// A resource's type, name and language. Types may be names too (a type
// library, for one); a rewrite keeps whatever the executable holds.
struct ResourceKey {
    ResourceName type;
    ResourceName name;
    uint16_t language = 0;
};

// The order of a resource directory: names before numbers, names by their
// UTF-16 units, numbers ascending.
bool operator<(const ResourceName& a, const ResourceName& b);
bool operator<(const ResourceKey& a, const ResourceKey& b);
bool operator==(const ResourceName& a, const ResourceName& b);
bool operator==(const ResourceKey& a, const ResourceKey& b);

using ResourceTree = std::map<ResourceKey, std::string>;

// Every resource of the image, with its bytes. Throws on a tree that is not
// three levels deep, shares or loops its directories, or points outside the
// image.
ResourceTree ReadResourceTree(const std::string& image, const PeLayout& layout);

// The bytes of a resource section at this address that holds the tree:
// directories, data entries, names, then each resource's bytes 8-aligned.
std::string BuildResourceSection(const ResourceTree& tree, uint32_t sectionRva);
