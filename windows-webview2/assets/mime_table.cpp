#include "assets/mime_table.h"

#include <algorithm>

#include "common/ascii.h"

namespace {

const char* const Fallback = "application/octet-stream";

const char* const Table[][2] = {
    {".html", "text/html; charset=utf-8"},
    {".htm", "text/html; charset=utf-8"},
    {".js", "application/javascript; charset=utf-8"},
    // The engine refuses a module script of any other type, and libraries
    // ship their modules with these names.
    {".mjs", "application/javascript; charset=utf-8"},
    {".cjs", "application/javascript; charset=utf-8"},
    {".ts", "application/typescript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".json", "application/json; charset=utf-8"},
    {".xml", "text/xml; charset=utf-8"},
    {".csv", "text/csv; charset=utf-8"},
    {".tsv", "text/tab-separated-values; charset=utf-8"},
    {".txt", "text/plain; charset=utf-8"},
    {".md", "text/markdown; charset=utf-8"},
    {".ini", "text/plain; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".wast", "application/wast"},
    {".png", "image/png"},
    {".apng", "image/apng"},
    {".jpg", "image/jpeg"},
    {".jpeg", "image/jpeg"},
    {".jxl", "image/jxl"},
    {".svg", "image/svg+xml"},
    {".webp", "image/webp"},
    {".gif", "image/gif"},
    {".tif", "image/tiff"},
    {".tiff", "image/tiff"},
    {".bmp", "image/bmp"},
    {".ico", "image/x-icon"},
    {".avif", "image/avif"},
    {".webm", "video/webm"},
    {".m4a", "audio/mp4"},
    {".mp3", "audio/mpeg"},
    {".mp4", "video/mp4"},
    {".mpg", "video/mpeg"},
    {".mpeg", "video/mpeg"},
    {".opus", "audio/ogg; codecs=opus"},
    {".ogg", "audio/ogg"},
    {".ogv", "video/ogg"},
    {".flac", "audio/flac"},
    {".wav", "audio/wav"},
    {".mid", "audio/midi"},
    {".midi", "audio/midi"},
    {".kar", "audio/midi"},
    {".woff", "application/font-woff"},
    {".woff2", "font/woff2"},
    {".ttf", "application/font-sfnt"},
    {".otf", "application/font-sfnt"},
    {".eot", "application/vnd.ms-fontobject"},
    {".zip", "application/zip"},
    {".pdf", "application/pdf"},
    {".scml", "text/xml"},
    {".scon", "application/json"},
};

// Longer than any extension in the table.
const size_t LongestExtension = 7;

}

uint64_t MimeTable::KeyOf(std::string_view extension)
{
    uint64_t key = static_cast<uint64_t>(extension.size()) << 56;
    for (size_t i = 0; i < extension.size(); ++i)
        key |= static_cast<uint64_t>(static_cast<uint8_t>(AsciiLower(extension[i]))) << (8 * i);
    return key;
}

MimeTable::MimeTable() : fallback(Fallback)
{
    for (const auto& entry : Table)
        types.emplace_back(KeyOf(entry[0]), entry[1]);
}

namespace {

// A compressed file is typed by what it holds ("game.wasm.br" as
// ".wasm"): the export ships compressed engine build files decoded under
// their own names, and a page that fetches a compressed file to decode it
// itself reads its bytes whatever their type.
std::string_view WithoutCompressionSuffix(std::string_view path)
{
    if (path.size() < 4 || path[path.size() - 3] != '.')
        return path;
    char first = AsciiLower(path[path.size() - 2]);
    char second = AsciiLower(path[path.size() - 1]);
    bool compressed = (first == 'b' && second == 'r') || (first == 'g' && second == 'z');
    return compressed ? path.substr(0, path.size() - 3) : path;
}

}

const std::string& MimeTable::MimeTypeFor(std::string_view fullPath) const
{
    std::string_view path = WithoutCompressionSuffix(fullPath);
    std::string_view::size_type dot = path.rfind('.');
    if (dot == std::string_view::npos || path.size() - dot > LongestExtension)
        return fallback;
    uint64_t key = KeyOf(path.substr(dot));
    // Fifty integers side by side: a scan is as quick as a search, and smaller.
    auto it = std::find_if(types.begin(), types.end(),
        [key](const std::pair<uint64_t, std::string>& type) { return type.first == key; });
    return it != types.end() ? it->second : fallback;
}

const std::string& MimeTypeFor(std::string_view path)
{
    static const MimeTable table;
    return table.MimeTypeFor(path);
}
