#include "assets/bundle_istream.h"

#include <stdexcept>

void IstreamBundleSource::Read(void* buffer, uint64_t count)
{
    stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
    if (static_cast<uint64_t>(stream.gcount()) != count)
        throw std::runtime_error("file read error");
}

void IstreamBundleSource::SeekTo(uint64_t offset)
{
    stream.clear();
    if (!stream.seekg(static_cast<std::streamoff>(offset), std::ios::beg))
        throw std::runtime_error("file read error");
}

void IstreamBundleSource::SeekBy(uint64_t count)
{
    if (!stream.seekg(static_cast<std::streamoff>(count), std::ios::cur))
        throw std::runtime_error("file read error");
}
