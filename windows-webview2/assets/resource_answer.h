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
    std::string requestPath; // the name the answer was looked up by (RequestPathOf)
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
    // Every answer carries the headers that make the page cross-origin
    // isolated, for engines that need SharedArrayBuffer.
    bool crossOriginIsolation = false;
};

// The most an open-ended range ("bytes=N-", a suffix) is answered with. The
// runtime buffers a whole response body before the page sees it, so a media
// player's "bytes=0-" must not become the whole file; it asks for the next
// piece by itself. 2 MiB is a few seconds of HD video per request and a
// small, steady buffer.
inline constexpr uint64_t OpenRangeWindow = 2 * 1024 * 1024;

// The body of every 404, without a terminating NUL.
inline constexpr char NotFoundText[] = "File not found";
inline constexpr uint64_t NotFoundTextLength = sizeof(NotFoundText) - 1;

// The whole answer to the text after the origin, with the trimmed-or-not
// "Range" value when the request had one.
ResourceAnswer AnswerResourceRequest(const ResourceSite& site, const std::string& relativeUri, const std::string* range);

// The answer given instead when the failed answer's body cannot be made:
// 500 without a body, with the failed answer's headers except those that
// described that body.
ResourceAnswer InternalErrorAnswer(const ResourceAnswer& failed);
