#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets/asset_bundle.h"
#include "assets/resource_answer.h"
#include "assets/std_disk_files.h"
#include "tests/support/bundle_bytes.h"

namespace fs = std::filesystem;

namespace {

// A fixed export: a bundle with two files, and a "www" folder with a file,
// a sub-folder, and a secret beside it that must never be served.
struct Site {
    Site()
    {
        char pattern[] = "/tmp/velmora-fuzz-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root + "/www/sub");
        std::ofstream(root + "/www/page.html") << "<p>page</p>";
        std::ofstream(root + "/www/sub/data.bin") << std::string(300, 'd');
        std::ofstream(root + "/secret.txt") << "secret";
        image = BundleBytes().Header().Chunk("blob", "abcdefgh").Chunk("fdir",
            Directory(2, DirectoryEntry("a.txt", 0, 3) + DirectoryEntry("b/c.js", 3, 5))).bytes;
        bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
        bundle.Parse();
        web = fs::weakly_canonical(root + "/www").string() + "/";
    }

    std::string root, image, web;
    AssetBundle bundle;
    StdDiskFiles disk;
};

}

// Any URI text and any Range value: an answer of a known status whose body
// stays inside the bundle or inside the "www" folder.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Site site;
    std::string input(reinterpret_cast<const char*>(data), size);
    std::string::size_type split = input.find('\n');
    std::string uri = input.substr(0, split);
    std::string range = split == std::string::npos ? "" : input.substr(split + 1);
    ResourceAnswer answer = AnswerResourceRequest({site.bundle, site.disk, site.root + "/www/", '/'}, uri,
        split == std::string::npos ? nullptr : &range);

    if (answer.status != 200 && answer.status != 206 && answer.status != 404 && answer.status != 416)
        __builtin_trap();
    const ResourceBody& body = answer.body;
    if (body.kind == ResourceBody::Kind::BundleSlice && body.offset + body.length > site.bundle.BlobSize())
        __builtin_trap();
    if (body.kind == ResourceBody::Kind::DiskFile || body.kind == ResourceBody::Kind::DiskSlice) {
        std::error_code error;
        std::string real = fs::weakly_canonical(body.diskPath, error).string();
        if (real.compare(0, site.web.size(), site.web) != 0 || fs::is_directory(real))
            __builtin_trap();
    }
    return 0;
}
