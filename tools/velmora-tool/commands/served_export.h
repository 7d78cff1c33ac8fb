#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "assets/asset_bundle.h"
#include "assets/bundle_image.h"
#include "assets/resource_answer.h"
#include "assets/std_disk_files.h"
#include "config/app_config.h"

// An export folder as the host serves it: the settings of its
// "package.json" (defaults without one), its bundle "www/assets.dat" and
// the loose files of "www".
class ServedExport {
public:
    // Throws std::runtime_error("package.json: ...") for settings the host
    // would refuse; a bundle that cannot be read is reported in
    // `bundleProblem`, and the loose files are still served, as the host
    // does.
    explicit ServedExport(const std::string& folder);
    ServedExport(const ServedExport&) = delete;
    ServedExport& operator=(const ServedExport&) = delete;

    ResourceAnswer Answer(const std::string& relativeUri, const std::string* range) const;
    // The answer's body, in blocks, to `write`.
    void WriteBody(const ResourceBody& body, const std::function<void(const char*, size_t)>& write) const;

    std::string bundleProblem;

private:
    AppConfig config;
    AssetBundle bundle;
    std::shared_ptr<const MappedFile> image;
    StdDiskFiles disk;
    std::string web;
};
