#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "config/app_config.h"

namespace {

bool SameConfig(const AppConfig& a, const AppConfig& b)
{
    return a.name == b.name && a.main == b.main && a.title == b.title && a.width == b.width &&
           a.height == b.height && a.icon == b.icon && a.resizable == b.resizable &&
           a.chromiumArgs == b.chromiumArgs && a.contentMode == b.contentMode &&
           a.distributionMode == b.distributionMode && a.hostingMode == b.hostingMode &&
           a.enableDevtools == b.enableDevtools && a.installMessage == b.installMessage &&
           a.downloadingMessage == b.downloadingMessage && a.installFailedMessage == b.installFailedMessage &&
           a.crossOriginIsolation == b.crossOriginIsolation;
}

}

// Any package text ends in a configuration or in an exception the host
// turns into its parse message; nothing else may happen, and the same bytes
// always give the same configuration, whatever the target held before.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    AppConfig first;
    try {
        LoadAppConfig(text, first);
    } catch (const std::exception&) {
        return 0;
    }
    if (first.name.empty())
        __builtin_trap();
    AppConfig second;
    second.name = "stale";
    second.width = -1;
    second.resizable = false;
    second.crossOriginIsolation = true;
    LoadAppConfig(text, second);
    if (!SameConfig(first, second))
        __builtin_trap();
    return 0;
}
