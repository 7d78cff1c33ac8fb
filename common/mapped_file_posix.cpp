#include "common/mapped_file.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::MappedFile(const std::string& path)
{
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    struct stat info = {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        throw std::runtime_error("not a regular file: " + path);
    }
    size = static_cast<uint64_t>(info.st_size);
    if (size > 0) {
        void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            close(fd);
            throw std::runtime_error("cannot map " + path);
        }
        data = static_cast<const uint8_t*>(view);
    }
    close(fd);
}

MappedFile::~MappedFile()
{
    if (data)
        munmap(const_cast<uint8_t*>(data), size);
}
