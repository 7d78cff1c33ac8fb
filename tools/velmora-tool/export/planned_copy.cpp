#include "tools/velmora-tool/export/planned_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "tools/velmora-tool/export/posix_file.h"

void CopyPlannedFile(const BundleSource& source, const std::filesystem::path& to, const std::function<void()>& between)
{
    std::filesystem::create_directories(to.parent_path());
    Descriptor in(open(source.diskPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0)
        throw FileFailure("cannot read", source.diskPath);
    Descriptor out(open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.fd < 0)
        throw FileFailure("cannot create", to.string());
    std::vector<char> buffer(1 << 20);
    uint64_t left = source.size;
    while (left > 0) {
        between();
        ssize_t got = ReadSome(in.fd, buffer.data(), static_cast<size_t>(std::min<uint64_t>(left, buffer.size())));
        if (got < 0)
            throw FileFailure("cannot read", source.diskPath);
        if (got == 0)
            throw std::runtime_error(source.diskPath + " changed while packing");
        WriteAll(out.fd, buffer.data(), static_cast<size_t>(got), to.string());
        left -= static_cast<uint64_t>(got);
    }
    char extra = 0;
    if (ReadSome(in.fd, &extra, 1) != 0)
        throw std::runtime_error(source.diskPath + " changed while packing");
    if (close(out.fd) != 0) {
        out.fd = -1;
        throw FileFailure("cannot write", to.string());
    }
    out.fd = -1;
}

void WriteTextFile(const std::filesystem::path& to, const std::string& text)
{
    Descriptor out(open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.fd < 0)
        throw FileFailure("cannot create", to.string());
    WriteAll(out.fd, text.data(), text.size(), to.string());
    if (close(out.fd) != 0) {
        out.fd = -1;
        throw FileFailure("cannot write", to.string());
    }
    out.fd = -1;
}
