#include "tools/velmora-tool/export/decoded_file.h"

#include <brotli/decode.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "tools/velmora-tool/export/posix_file.h"

namespace {

const size_t Block = 1 << 20;

// The source's bytes a block at a time, and where the decoded ones go.
struct Streams {
    int in;
    const std::string& sourcePath;
    int out;
    std::string outPath;
    uint64_t written = 0;
    std::vector<uint8_t> input = std::vector<uint8_t>(Block);
    std::vector<uint8_t> output = std::vector<uint8_t>(Block);

    size_t ReadBlock()
    {
        ssize_t got = ReadSome(in, reinterpret_cast<char*>(input.data()), input.size());
        if (got < 0)
            throw FileFailure("cannot read", sourcePath);
        return static_cast<size_t>(got);
    }

    void Keep(size_t count)
    {
        WriteAll(out, reinterpret_cast<const char*>(output.data()), count, outPath);
        written += count;
    }

    bool AtEnd() { return ReadBlock() == 0; }
};

void DecodeBrotli(Streams& streams)
{
    std::unique_ptr<BrotliDecoderState, decltype(&BrotliDecoderDestroyInstance)> state(
        BrotliDecoderCreateInstance(nullptr, nullptr, nullptr), BrotliDecoderDestroyInstance);
    if (!state)
        throw std::bad_alloc();
    size_t availableIn = 0;
    const uint8_t* nextIn = streams.input.data();
    for (;;) {
        size_t availableOut = streams.output.size();
        uint8_t* nextOut = streams.output.data();
        BrotliDecoderResult result =
            BrotliDecoderDecompressStream(state.get(), &availableIn, &nextIn, &availableOut, &nextOut, nullptr);
        streams.Keep(streams.output.size() - availableOut);
        if (result == BROTLI_DECODER_RESULT_ERROR)
            throw std::runtime_error(std::string("not valid Brotli data (")
                + BrotliDecoderErrorString(BrotliDecoderGetErrorCode(state.get())) + ")");
        if (result == BROTLI_DECODER_RESULT_SUCCESS) {
            if (availableIn > 0 || !streams.AtEnd())
                throw std::runtime_error("other bytes after the Brotli data");
            return;
        }
        if (result == BROTLI_DECODER_RESULT_NEEDS_MORE_INPUT) {
            availableIn = streams.ReadBlock();
            nextIn = streams.input.data();
            if (availableIn == 0)
                throw std::runtime_error("the Brotli data is cut short");
        }
    }
}

// One gzip member after another, as gzip itself reads them.
void DecodeGzip(Streams& streams)
{
    z_stream z {};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        throw std::bad_alloc();
    std::unique_ptr<z_stream, int (*)(z_stream*)> ender(&z, inflateEnd);
    for (;;) {
        if (z.avail_in == 0) {
            z.avail_in = static_cast<uInt>(streams.ReadBlock());
            z.next_in = streams.input.data();
            if (z.avail_in == 0)
                throw std::runtime_error("the gzip data is cut short");
        }
        z.avail_out = static_cast<uInt>(streams.output.size());
        z.next_out = streams.output.data();
        int result = inflate(&z, Z_NO_FLUSH);
        streams.Keep(streams.output.size() - z.avail_out);
        if (result == Z_DATA_ERROR || result == Z_NEED_DICT || result == Z_MEM_ERROR)
            throw std::runtime_error(std::string("not valid gzip data (") + (z.msg ? z.msg : "no reason given") + ")");
        if (result != Z_STREAM_END)
            continue;
        if (z.avail_in == 0 && streams.AtEnd())
            return;
        inflateReset(&z);
    }
}

int OpenAnonymousFile()
{
    std::string folder = std::filesystem::temp_directory_path().string();
    int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    // Some file systems cannot hold a file without a name; memory can.
    if (fd < 0)
        fd = memfd_create("velmora-decoded", MFD_CLOEXEC);
    if (fd < 0)
        throw FileFailure("cannot make a temporary file in", folder);
    return fd;
}

}

DecodedFile::DecodedFile(const std::string& sourcePath, ContentEncoding encoding)
{
    Descriptor in(open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0)
        throw FileFailure("cannot read", sourcePath);
    fd = OpenAnonymousFile();
    Streams streams {in.fd, sourcePath, fd, Path()};
    try {
        if (encoding == ContentEncoding::Brotli)
            DecodeBrotli(streams);
        else
            DecodeGzip(streams);
    } catch (...) {
        close(fd);
        throw;
    }
    size = streams.written;
}

DecodedFile::~DecodedFile()
{
    close(fd);
}

std::string DecodedFile::Path() const
{
    return "/proc/self/fd/" + std::to_string(fd);
}
