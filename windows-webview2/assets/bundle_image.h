#pragma once

#include <memory>
#include <string>

#include "assets/asset_bundle.h"
#include "common/mapped_file.h"

// Maps "assets.dat" into image and parses the bundle in place; the bundle
// reads that mapping, so image must outlive its use (bodies served from it
// share it). Throws on any failure; after a fault in the bundle the entries
// read before it stay usable, and so does image.
void MapBundle(const std::string& path, AssetBundle& bundle, std::shared_ptr<const MappedFile>& image);
