#include "app/instance_name.h"

#include <cstdint>
#include <cstdio>

#include "common/ascii.h"

// FNV-1a, 64 bits: a path of any length in a name of fixed length.
uint64_t InstanceHash(const std::string& executablePath)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : AsciiLower(executablePath)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string InstanceLockName(const std::string& executablePath)
{
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Velmora-%016llx",
        static_cast<unsigned long long>(InstanceHash(executablePath)));
    return name;
}
