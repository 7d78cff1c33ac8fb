#pragma once

#include <string>

#include "Quorvel/resource_tree.h"

// The image with its resource section replaced by one holding the tree,
// every other byte kept. The resource section grows in place when it is the
// last section; only a base relocation section may follow it, and moves
// with it. Updates the header fields the new layout changes, and the
// checksum when one was set. Throws, naming why, for any other layout: no
// resource section, other sections after it, debug data or a signature
// after it, or bytes after the last section.
std::string ReplaceResourceSection(const std::string& image, const ResourceTree& tree);
