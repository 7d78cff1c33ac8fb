#include "assets/body_streams_win32.h"

#include <stdexcept>

#include "assets/folder_boundary_win32.h"
#include "assets/slice_stream_win32.h"

namespace {

std::shared_ptr<IBodyStream> StreamBody(std::shared_ptr<const IBodyBytes> bytes)
{
    return std::make_shared<ComStreamBody>(CreateSliceStream(std::move(bytes)));
}

std::shared_ptr<IBodyStream> MemoryBody(const uint8_t* data, uint64_t length, std::shared_ptr<const void> keeper)
{
    return StreamBody(std::make_shared<MemoryBodyBytes>(data, length, std::move(keeper)));
}

std::shared_ptr<IBodyStream> FileBody(std::shared_ptr<const OpenedDiskFile> file, uint64_t offset, uint64_t length)
{
    return StreamBody(std::make_shared<DiskFileBytes>(std::move(file), offset, length));
}

}

std::shared_ptr<IBodyStream> BodyStreamsWin32::Create(const ResourceAnswer& answer)
{
    const ResourceBody& body = answer.body;
    switch (body.kind) {
    case ResourceBody::Kind::None:
        return nullptr;
    case ResourceBody::Kind::NotFoundText:
        return MemoryBody(reinterpret_cast<const uint8_t*>(NotFoundText), body.length, nullptr);
    case ResourceBody::Kind::BundleSlice:
        // The bundle lies beside the program: its view stays readable.
        return MemoryBody(bundle.FileData(body.offset), body.length, image);
    case ResourceBody::Kind::DiskFile:
        return FileBody(OpenInside(body.diskPath), 0, body.length);
    case ResourceBody::Kind::DiskSlice:
        return FileBody(OpenForRange(answer.requestPath, body.diskPath), body.offset, body.length);
    }
    return nullptr;
}

// The file is judged again by the handle its bytes are read from, so that
// a link put in its place after it was examined leads nowhere.
std::shared_ptr<const OpenedDiskFile> BodyStreamsWin32::OpenInside(const std::string& diskPath) const
{
    auto file = std::make_shared<const OpenedDiskFile>(diskPath);
    if (!LiesInsideFolder(file->Handle(), webFolder))
        throw std::runtime_error("file outside the web folder");
    return file;
}

std::shared_ptr<const OpenedDiskFile> BodyStreamsWin32::OpenForRange(const std::string& requestPath,
    const std::string& diskPath)
{
    auto cached = openFiles.find(requestPath);
    if (cached != openFiles.end())
        return cached->second;
    return openFiles.emplace(requestPath, OpenInside(diskPath)).first->second;
}
