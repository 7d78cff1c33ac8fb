#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/asset_bundle.h"
#include "assets/disk_files.h"

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

// The body of every 404, without a terminating NUL.
inline constexpr char NotFoundText[] = "File not found";
inline constexpr uint64_t NotFoundTextLength = sizeof(NotFoundText) - 1;

// The whole answer to the text after the origin, with the trimmed-or-not
// "Range" value when the request had one.
ResourceAnswer AnswerResourceRequest(const ResourceSite& site, const std::string& relativeUri, const std::string* range);

// The answer given instead when the failed answer's body cannot be made:
// 500 without a body, with the failed answer's headers.
ResourceAnswer InternalErrorAnswer(const ResourceAnswer& failed);
