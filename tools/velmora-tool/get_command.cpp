#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "assets/asset_bundle.h"
#include "assets/bundle_image.h"
#include "assets/resource_answer.h"
#include "assets/std_disk_files.h"
#include "common/file_reading.h"
#include "config/app_config.h"
#include "tools/velmora-tool/commands.h"

namespace {

void WriteOut(const void* data, uint64_t length)
{
    std::fwrite(data, 1, static_cast<size_t>(length), stdout);
}

void WriteDiskBytes(const std::string& path, uint64_t offset, uint64_t length)
{
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(offset));
    std::vector<char> buffer(1 << 20);
    while (length > 0 && file) {
        size_t block = static_cast<size_t>(std::min<uint64_t>(length, buffer.size()));
        file.read(buffer.data(), static_cast<std::streamsize>(block));
        WriteOut(buffer.data(), static_cast<uint64_t>(file.gcount()));
        length -= static_cast<uint64_t>(file.gcount());
    }
}

void WriteBody(const AssetBundle& bundle, const ResourceBody& body)
{
    switch (body.kind) {
    case ResourceBody::Kind::None:
        return;
    case ResourceBody::Kind::NotFoundText:
        WriteOut(NotFoundText, body.length);
        return;
    case ResourceBody::Kind::BundleSlice:
        WriteOut(bundle.FileData(body.offset), body.length);
        return;
    case ResourceBody::Kind::DiskFile:
    case ResourceBody::Kind::DiskSlice:
        WriteDiskBytes(body.diskPath, body.offset, body.length);
        return;
    }
}

// The export's settings that shape answers; defaults without a
// "package.json". Throws when the file is there but the host would refuse it.
AppConfig ExportConfig(const std::string& folder)
{
    AppConfig config;
    std::string text = ReadWholeFile(folder + "/package.json");
    if (!text.empty())
        LoadAppConfig(text, config);
    return config;
}

}

// Answers one request exactly as the host would, from <folder>/www, with
// the settings of <folder>/package.json.
int RunGetCommand(const CommandArgs& args)
{
    bool hasRange = args.size() == 4 && args[2] == "--range";
    if (args.size() != 2 && !hasRange) {
        std::fputs("usage: velmora-tool get <export-folder> <path> [--range <value>]\n", stderr);
        return 2;
    }
    AppConfig config;
    try {
        config = ExportConfig(args[0]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "package.json: %s\n", error.what());
        return 1;
    }
    std::string web = args[0] + "/www/";
    AssetBundle bundle;
    std::shared_ptr<const MappedFile> image;
    StdDiskFiles disk;
    try {
        // Opening a pipe or a device would wait, or read forever.
        if (std::filesystem::exists(web + "assets.dat") && !std::filesystem::is_regular_file(web + "assets.dat"))
            throw std::runtime_error("not a regular file");
        if (std::filesystem::exists(web + "assets.dat"))
            MapBundle(web + "assets.dat", bundle, image);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Error reading asset bundle: %s\n", error.what());
    }
    ResourceAnswer answer = AnswerResourceRequest({bundle, disk, web, '/', config.crossOriginIsolation}, args[1], hasRange ? &args[3] : nullptr);
    std::printf("%d %s\n%s\n\n", answer.status, answer.reason.c_str(), answer.JoinedHeaders().c_str());
    WriteBody(bundle, answer.body);
    std::fflush(stdout);
    return 0;
}
