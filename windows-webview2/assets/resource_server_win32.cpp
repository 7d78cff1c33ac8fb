#include "resource_server_win32.h"

#include <limits>

#include <shlwapi.h>

#include "paths_win32.h"

namespace {

// Memory streams hold a copy of just the bytes they send; the platform takes
// a 32-bit length, so a single slice of 4 GiB or more cannot be copied.
bool Fits(uint64_t length)
{
    return length <= std::numeric_limits<UINT>::max();
}

IStream* CopyStream(const uint8_t* bytes, uint64_t length)
{
    return SHCreateMemStream(bytes, static_cast<UINT>(length));
}

}

ResourceServer::ResourceServer(const AssetBundle& bundle, const std::string& appFolder,
    const std::string& webResourceFolder)
    : bundle(bundle), webFolder(appFolder + webResourceFolder)
{
}

ResourceServer::~ResourceServer()
{
    releaseMappedFiles();
}

WebResponse ResourceServer::Respond(const std::string& relativeUri, const std::string* range)
{
    WebResponse response;
    response.answer = AnswerResourceRequest(Site(), relativeUri, range);
    response.body = CreateBody(response.answer);
    return response;
}

IStream* ResourceServer::CreateBody(ResourceAnswer& answer)
{
    const ResourceBody& body = answer.body;
    switch (body.kind) {
    case ResourceBody::Kind::None:
        return nullptr;
    case ResourceBody::Kind::NotFoundText:
        return CopyStream(reinterpret_cast<const uint8_t*>(NotFoundText), body.length);
    case ResourceBody::Kind::BundleSlice:
        if (Fits(body.length))
            return CopyStream(bundle.fileData(body.offset), body.length);
        break;
    case ResourceBody::Kind::DiskFile: {
        IStream* stream = nullptr;
        SHCreateStreamOnFileEx(PlatformPath(body.diskPath).c_str(), STGM_READ, 0, FALSE, nullptr, &stream);
        return stream;
    }
    case ResourceBody::Kind::DiskSlice: {
        const uint8_t* view = Fits(body.length) ? mapFileForRange(answer.requestPath, body.diskPath) : nullptr;
        if (view)
            return CopyStream(view + body.offset, body.length);
        break;
    }
    }
    MakeInternalError(answer);
    return nullptr;
}

const uint8_t* ResourceServer::mapFileForRange(const std::string& requestPath, const std::string& diskPath)
{
    auto cached = mappings.find(requestPath);
    if (cached != mappings.end())
        return cached->second.view;
    HANDLE file = CreateFileW(PlatformPath(diskPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) {
        CloseHandle(file);
        return nullptr;
    }
    auto view = static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    if (!view) {
        CloseHandle(mapping);
        CloseHandle(file);
        return nullptr;
    }
    mappings.emplace(requestPath, MappedFile{file, mapping, view});
    return view;
}

void ResourceServer::releaseMappedFiles()
{
    for (auto& [path, mapped] : mappings) {
        UnmapViewOfFile(mapped.view);
        CloseHandle(mapped.mapping);
        CloseHandle(mapped.file);
    }
    mappings.clear();
}
