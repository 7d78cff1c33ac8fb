#include "assets/body_streams_win32.h"

#include <limits>
#include <stdexcept>

#include <shlwapi.h>

#include "common/paths_win32.h"

using Microsoft::WRL::ComPtr;

namespace {

// Memory streams hold a copy of just the bytes they send; the platform takes
// a 32-bit length, so a single slice of 4 GiB or more cannot be copied.
std::shared_ptr<IBodyStream> CopyStream(const uint8_t* bytes, uint64_t length)
{
    if (length > std::numeric_limits<UINT>::max())
        throw std::runtime_error("body too large to copy");
    ComPtr<IStream> stream;
    // SHCreateMemStream hands over the one reference it made.
    *stream.GetAddressOf() = SHCreateMemStream(bytes, static_cast<UINT>(length));
    if (!stream)
        throw std::runtime_error("cannot make a memory stream");
    return std::make_shared<ComStreamBody>(stream);
}

std::shared_ptr<IBodyStream> FileStream(const std::string& path)
{
    ComPtr<IStream> stream;
    if (FAILED(SHCreateStreamOnFileEx(PlatformPath(path).c_str(), STGM_READ, 0, FALSE, nullptr, &stream)) || !stream)
        throw std::runtime_error("cannot open a file stream");
    return std::make_shared<ComStreamBody>(stream);
}

}

std::shared_ptr<IBodyStream> BodyStreamsWin32::Create(const ResourceAnswer& answer)
{
    const ResourceBody& body = answer.body;
    switch (body.kind) {
    case ResourceBody::Kind::None:
        return nullptr;
    case ResourceBody::Kind::NotFoundText:
        return CopyStream(reinterpret_cast<const uint8_t*>(NotFoundText), body.length);
    case ResourceBody::Kind::BundleSlice:
        return CopyStream(bundle.FileData(body.offset), body.length);
    case ResourceBody::Kind::DiskFile:
        return FileStream(body.diskPath);
    case ResourceBody::Kind::DiskSlice: {
        const MappedFile& file = MapForRange(answer.requestPath, body.diskPath);
        // The file may have shrunk since it was examined.
        if (body.offset > file.Size() || body.length > file.Size() - body.offset)
            throw std::runtime_error("range past the end of the file");
        return CopyStream(file.Data() + body.offset, body.length);
    }
    }
    return nullptr;
}

const MappedFile& BodyStreamsWin32::MapForRange(const std::string& requestPath, const std::string& diskPath)
{
    auto cached = mappings.find(requestPath);
    if (cached != mappings.end())
        return *cached->second;
    auto mapped = std::make_unique<MappedFile>(diskPath);
    return *mappings.emplace(requestPath, std::move(mapped)).first->second;
}
