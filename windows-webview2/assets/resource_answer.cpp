#include "assets/resource_answer.h"

#include "assets/mime_table.h"
#include "assets/range_header.h"
#include "assets/request_path.h"

#include <algorithm>
#include <optional>

#include "common/ascii.h"

namespace {

struct FoundFile {
    std::optional<BundleEntry> entry;
    std::string diskPath;
    uint64_t size = 0;
};

std::string DiskPathFor(const ResourceSite& site, std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = site.separator;
    return site.webFolder + path;
}

// The bundle entry wins; otherwise a regular file inside the web folder.
bool FindFile(const ResourceSite& site, const std::string& path, FoundFile& found)
{
    found.entry = site.bundle.Find(path);
    if (found.entry) {
        found.size = found.entry->size;
        return true;
    }
    if (!IsSafeDiskPath(path))
        return false;
    found.diskPath = DiskPathFor(site, path);
    DiskEntry disk = site.disk.Examine(site.webFolder, found.diskPath);
    found.size = disk.size;
    return disk.exists && !disk.isFolder;
}

ResourceBody WholeBody(const FoundFile& file)
{
    if (file.entry)
        return {ResourceBody::Kind::BundleSlice, file.entry->offset, file.size, {}};
    return {ResourceBody::Kind::DiskFile, 0, file.size, file.diskPath};
}

// Whether the header line names this field (lower case).
bool StartsWithField(const std::string& line, const std::string& field)
{
    return line.size() > field.size() && line[field.size()] == ':' && AsciiLower(line.substr(0, field.size())) == field;
}

ResourceBody RangeBody(const FoundFile& file, const ByteRange& range)
{
    if (file.entry)
        return {ResourceBody::Kind::BundleSlice, file.entry->offset + range.first, range.Length(), {}};
    if (range.Length() == file.size)
        return WholeBody(file);
    return {ResourceBody::Kind::DiskSlice, range.first, range.Length(), file.diskPath};
}

}

std::string ResourceAnswer::JoinedHeaders() const
{
    std::string joined;
    for (const std::string& line : headers) {
        if (!joined.empty())
            joined += '\n';
        joined += line;
    }
    return joined;
}

ResourceAnswer AnswerResourceRequest(const ResourceSite& site, const std::string& relativeUri, const std::string* range)
{
    ResourceAnswer answer;
    answer.requestPath = RequestPathOf(relativeUri);
    const std::string& path = answer.requestPath;
    // Room for every line an answer can carry, so the list grows once.
    answer.headers.reserve(8);
    answer.headers.push_back("Cache-Control: no-store");
    if (site.crossOriginIsolation) {
        answer.headers.push_back("Cross-Origin-Opener-Policy: same-origin");
        answer.headers.push_back("Cross-Origin-Embedder-Policy: require-corp");
        answer.headers.push_back("Cross-Origin-Resource-Policy: same-origin");
    }

    FoundFile file;
    if (!FindFile(site, path, file)) {
        answer.status = 404;
        answer.reason = "Not Found";
        answer.body.kind = ResourceBody::Kind::NotFoundText;
        answer.body.length = NotFoundTextLength;
        return answer;
    }
    const std::string& type = MimeTypeFor(path);
    std::string& contentType = answer.headers.emplace_back();
    contentType.reserve(14 + type.size());
    contentType.append("Content-Type: ").append(type);
    answer.headers.push_back("Accept-Ranges: bytes");

    if (!range) {
        answer.headers.push_back("Content-Length: " + std::to_string(file.size));
        answer.status = 200;
        answer.reason = "OK";
        answer.body = WholeBody(file);
        return answer;
    }
    std::optional<ByteRange> bytes = ParseRangeHeader(TrimHeaderValue(*range), file.size);
    if (!bytes) {
        answer.status = 416;
        answer.reason = "Range Not Satisfiable";
        answer.headers.push_back("Content-Range: bytes */" + std::to_string(file.size));
        return answer;
    }
    if (bytes->openEnded)
        bytes->last = std::min(bytes->last, bytes->first + OpenRangeWindow - 1);
    answer.headers.push_back("Content-Range: bytes " + std::to_string(bytes->first) + "-" +
                             std::to_string(bytes->last) + "/" + std::to_string(file.size));
    answer.headers.push_back("Content-Length: " + std::to_string(bytes->Length()));
    answer.status = 206;
    answer.reason = "Partial Content";
    answer.body = RangeBody(file, *bytes);
    return answer;
}

ResourceAnswer InternalErrorAnswer(const ResourceAnswer& failed)
{
    ResourceAnswer answer;
    answer.requestPath = failed.requestPath;
    answer.status = 500;
    answer.reason = "Internal Server Error";
    for (const std::string& line : failed.headers) {
        if (!StartsWithField(line, "content-length") && !StartsWithField(line, "content-range"))
            answer.headers.push_back(line);
    }
    return answer;
}
