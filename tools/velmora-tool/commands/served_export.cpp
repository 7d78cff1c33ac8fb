#include "tools/velmora-tool/commands/served_export.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "common/file_reading.h"

namespace {

void WriteDiskBytes(const std::string& path, uint64_t offset, uint64_t length,
    const std::function<void(const char*, size_t)>& write)
{
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(offset));
    std::vector<char> buffer(1 << 20);
    while (length > 0 && file) {
        size_t block = static_cast<size_t>(std::min<uint64_t>(length, buffer.size()));
        file.read(buffer.data(), static_cast<std::streamsize>(block));
        write(buffer.data(), static_cast<size_t>(file.gcount()));
        length -= static_cast<uint64_t>(file.gcount());
    }
}

}

ServedExport::ServedExport(const std::string& folder) : web(folder + "/www/")
{
    std::string text = ReadWholeFile(folder + "/package.json");
    try {
        if (!text.empty())
            LoadAppConfig(text, config);
    } catch (const std::exception& error) {
        throw std::runtime_error(std::string("package.json: ") + error.what());
    }
    std::string bundlePath = web + "assets.dat";
    try {
        // Opening a pipe or a device would wait, or read forever.
        if (std::filesystem::exists(bundlePath) && !std::filesystem::is_regular_file(bundlePath))
            throw std::runtime_error("not a regular file");
        if (std::filesystem::exists(bundlePath))
            MapBundle(bundlePath, bundle, image);
    } catch (const std::exception& error) {
        bundleProblem = error.what();
    }
}

ResourceAnswer ServedExport::Answer(const std::string& relativeUri, const std::string* range) const
{
    return AnswerResourceRequest({bundle, disk, web, '/', config.crossOriginIsolation}, relativeUri, range);
}

void ServedExport::WriteBody(const ResourceBody& body, const std::function<void(const char*, size_t)>& write) const
{
    switch (body.kind) {
    case ResourceBody::Kind::None:
        return;
    case ResourceBody::Kind::NotFoundText:
        write(NotFoundText, static_cast<size_t>(body.length));
        return;
    case ResourceBody::Kind::BundleSlice:
        write(reinterpret_cast<const char*>(bundle.FileData(body.offset)), static_cast<size_t>(body.length));
        return;
    case ResourceBody::Kind::DiskFile:
    case ResourceBody::Kind::DiskSlice:
        WriteDiskBytes(body.diskPath, body.offset, body.length, write);
        return;
    }
}
