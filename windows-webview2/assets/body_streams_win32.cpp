#include "assets/body_streams_win32.h"

#include <stdexcept>

#include "assets/folder_boundary_win32.h"
#include "assets/slice_stream_win32.h"

namespace {

std::shared_ptr<IBodyStream> SliceBody(const uint8_t* data, uint64_t length, std::shared_ptr<const void> keeper)
{
    return std::make_shared<ComStreamBody>(CreateSliceStream(data, length, std::move(keeper)));
}

// The bytes [offset, offset + length) of a mapped file, which may have
// changed size since it was examined.
std::shared_ptr<IBodyStream> FileSlice(std::shared_ptr<const MappedFile> file, uint64_t offset, uint64_t length)
{
    if (offset > file->Size() || length > file->Size() - offset)
        throw std::runtime_error("range past the end of the file");
    const uint8_t* data = file->Data() + offset;
    return SliceBody(data, length, std::move(file));
}

}

std::shared_ptr<IBodyStream> BodyStreamsWin32::Create(const ResourceAnswer& answer)
{
    const ResourceBody& body = answer.body;
    switch (body.kind) {
    case ResourceBody::Kind::None:
        return nullptr;
    case ResourceBody::Kind::NotFoundText:
        return SliceBody(reinterpret_cast<const uint8_t*>(NotFoundText), body.length, nullptr);
    case ResourceBody::Kind::BundleSlice:
        return SliceBody(bundle.FileData(body.offset), body.length, image);
    case ResourceBody::Kind::DiskFile:
        return FileSlice(MapInside(body.diskPath), 0, body.length);
    case ResourceBody::Kind::DiskSlice:
        return FileSlice(MapForRange(answer.requestPath, body.diskPath), body.offset, body.length);
    }
    return nullptr;
}

// The file is judged again by the handle its view is read from, so that a
// link put in its place after it was examined leads nowhere.
std::shared_ptr<const MappedFile> BodyStreamsWin32::MapInside(const std::string& diskPath) const
{
    auto file = std::make_shared<const MappedFile>(diskPath);
    if (!LiesInsideFolder(file->FileHandle(), webFolder))
        throw std::runtime_error("file outside the web folder");
    return file;
}

std::shared_ptr<const MappedFile> BodyStreamsWin32::MapForRange(const std::string& requestPath,
    const std::string& diskPath)
{
    auto cached = mappings.find(requestPath);
    if (cached != mappings.end())
        return cached->second;
    return mappings.emplace(requestPath, MapInside(diskPath)).first->second;
}
