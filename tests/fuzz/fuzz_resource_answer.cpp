#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "assets/asset_bundle.h"
#include "assets/resource_answer.h"
#include "assets/std_disk_files.h"
#include "tests/support/bundle_bytes.h"

namespace fs = std::filesystem;

namespace {

// A fixed export: a bundle with two files, and a "www" folder with a file,
// a sub-folder, links that stay inside and links that lead out, and a secret
// beside it that must never be served.
struct Site {
    Site()
    {
        std::string pattern = (fs::temp_directory_path() / "velmora-fuzz-XXXXXX").string();
        root = mkdtemp(pattern.data());
        fs::create_directories(root + "/www/sub");
        fs::create_directories(root + "/private");
        std::ofstream(root + "/www/page.html") << "<p>page</p>";
        std::ofstream(root + "/www/sub/data.bin") << std::string(300, 'd');
        std::ofstream(root + "/secret.txt") << "secret";
        std::ofstream(root + "/private/key.txt") << "key";
        fs::create_symlink(root + "/secret.txt", root + "/www/out.txt");
        fs::create_symlink("../../private", root + "/www/sub/out");
        fs::create_symlink("sub/data.bin", root + "/www/in.bin");
        image = BundleBytes().Header().Chunk("blob", "abcdefgh").Chunk("fdir",
            Directory(2, DirectoryEntry("a.txt", 0, 3) + DirectoryEntry("b/c.js", 3, 5))).bytes;
        bundle.AttachMemory(reinterpret_cast<const uint8_t*>(image.data()), image.size());
        bundle.Parse();
        web = fs::canonical(root + "/www").string() + "/";
    }
    // At the end of a run, which libFuzzer ends with exit().
    ~Site() { fs::remove_all(root); }

    std::string root, image, web;
    AssetBundle bundle;
    StdDiskFiles disk;
};

// The value of the named header line, or nothing.
const std::string* Header(const ResourceAnswer& answer, const std::string& name, std::string& value)
{
    for (const std::string& line : answer.headers) {
        if (line.compare(0, name.size() + 2, name + ": ") == 0) {
            value = line.substr(name.size() + 2);
            return &value;
        }
    }
    return nullptr;
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// What the headers say about the body agrees with the body itself.
void CheckHeadersDescribeBody(const ResourceAnswer& answer, uint64_t fileSize)
{
    const ResourceBody& body = answer.body;
    std::string length, range;
    const std::string* lengthValue = Header(answer, "Content-Length", length);
    const std::string* rangeValue = Header(answer, "Content-Range", range);
    if (answer.status == 404) {
        Check(!lengthValue && !rangeValue && body.kind == ResourceBody::Kind::NotFoundText);
        return;
    }
    if (answer.status == 416) {
        Check(!lengthValue && rangeValue && *rangeValue == "bytes */" + std::to_string(fileSize));
        Check(body.kind == ResourceBody::Kind::None);
        return;
    }
    Check(lengthValue && *lengthValue == std::to_string(body.length));
    if (answer.status == 200) {
        Check(!rangeValue && body.length == fileSize);
        return;
    }
    unsigned long long first = 0, last = 0, total = 0;
    Check(rangeValue && std::sscanf(rangeValue->c_str(), "bytes %llu-%llu/%llu", &first, &last, &total) == 3);
    Check(rangeValue->find_first_of("+- ", 6) == rangeValue->find('-'));
    Check(total == fileSize && first <= last && last < total && last - first + 1 == body.length);
    Check(body.kind == ResourceBody::Kind::BundleSlice || body.kind == ResourceBody::Kind::DiskFile ||
          body.offset == first);
}

void CheckAnswer(const Site& site, const std::string& uri, const std::string* range)
{
    ResourceAnswer answer = AnswerResourceRequest({site.bundle, site.disk, site.root + "/www/", '/'}, uri, range);
    Check(answer.status == 200 || answer.status == 206 || answer.status == 404 || answer.status == 416);
    const ResourceBody& body = answer.body;
    uint64_t fileSize = 0;
    std::error_code error;
    if (std::optional<BundleEntry> entry = site.bundle.Find(answer.requestPath))
        fileSize = entry->size;
    else if (answer.status != 404)
        fileSize = fs::file_size(site.root + "/www/" + answer.requestPath, error);
    Check(!error);
    if (body.kind == ResourceBody::Kind::BundleSlice)
        Check(body.offset + body.length <= site.bundle.BlobSize());
    if (body.kind == ResourceBody::Kind::DiskFile || body.kind == ResourceBody::Kind::DiskSlice) {
        std::string real = fs::canonical(body.diskPath, error).string();
        Check(!error && real.compare(0, site.web.size(), site.web) == 0 && fs::is_regular_file(real));
    }
    CheckHeadersDescribeBody(answer, fileSize);
}

}

// Any URI text and any Range value, spelled with "/" and again with "\":
// an answer of a known status whose headers describe its body, and whose
// body stays inside the bundle or really inside the "www" folder.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Site site;
    std::string input(reinterpret_cast<const char*>(data), size);
    std::string::size_type split = input.find('\n');
    std::string uri = input.substr(0, split);
    std::string range = split == std::string::npos ? "" : input.substr(split + 1);
    const std::string* rangeValue = split == std::string::npos ? nullptr : &range;
    CheckAnswer(site, uri, rangeValue);
    for (char& c : uri)
        c = c == '/' ? '\\' : c == '\\' ? '/' : c;
    CheckAnswer(site, uri, rangeValue);
    return 0;
}
