#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "app_config.h"

// Any package text ends in a configuration or in an exception the host
// turns into its parse message; nothing else may happen.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AppConfig config;
    try {
        LoadAppConfig(std::string(reinterpret_cast<const char*>(data), size), config);
    } catch (const std::exception&) {
        return 0;
    }
    if (config.name.empty())
        __builtin_trap();
    return 0;
}
