#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "asset_bundle.h"
#include "disk_files.h"

// Where an answer's body bytes come from; the platform layer turns it into a stream.
struct ResourceBody {
    enum class Kind { None, NotFoundText, BundleSlice, DiskFile, DiskSlice };
    Kind kind = Kind::None;
    uint64_t offset = 0; // into the blob data, or into the disk file
    uint64_t length = 0;
    std::string diskPath;
};

struct ResourceAnswer {
    std::string requestPath; // the decoded path the answer was looked up by
    int status = 0;
    std::string reason;
    std::vector<std::string> headers;
    ResourceBody body;
    std::string JoinedHeaders() const;
};

// What a request is answered from: the bundle, then the web folder.
struct ResourceSite {
    const AssetBundle& bundle;
    const IDiskFiles& disk;
    std::string webFolder; // ends with the separator
    char separator;        // '\\' on Windows
};

extern const char* const NotFoundText;

// The whole answer to the text after the origin, with the trimmed-or-not
// "Range" value when the request had one.
ResourceAnswer AnswerResourceRequest(const ResourceSite& site, const std::string& relativeUri, const std::string* range);

// A disk slice whose file could not be mapped: 500, headers kept, no body.
void MakeInternalError(ResourceAnswer& answer);
