#include "config/app_config.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "common/ascii.h"
#include "common/json_readers.h"
#include "config/config_keys.h"

const char* const DefaultWindowTitle = "Windows Velmora";

namespace {

const char* const ContentModeNames[] = {"bundle", "remote"};
const char* const DistributionModeNames[] = {"evergreen", "fixed"};
const char* const HostingModeNames[] = {"windowed", "window-to-visual"};

}

const char* const DpiAwarenessNames[2] = {"system", "per-monitor"};
const char* const FrameRateNames[2] = {"vsync", "unlimited"};
const char* const GpuPreferenceNames[2] = {"default", "high-performance"};

namespace {

// Picks one of two modes by its exact name; a value of another JSON type has
// already become the default, so only an unknown string fails.
template <typename Mode>
Mode ReadMode(const nlohmann::json& section, const char* key, const char* const (&names)[2], const char* error)
{
    std::string value = GetStringOr(section, key, names[0]);
    if (value == names[0])
        return static_cast<Mode>(0);
    if (value == names[1])
        return static_cast<Mode>(1);
    throw std::runtime_error(error);
}

// A member read in place: copying a section would recurse through all of it.
const nlohmann::json& Section(const nlohmann::json& top, const char* key)
{
    static const nlohmann::json none;
    if (!top.is_object())
        return none;
    auto it = top.find(key);
    return it == top.end() ? none : *it;
}

}

std::optional<uint32_t> ParseColour(const std::string& text)
{
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    uint32_t colour = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        int digit = AsciiHexValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        colour = colour << 4 | static_cast<uint32_t>(digit);
    }
    return colour;
}

std::string ColourText(uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", colour & 0xFFFFFFu);
    return text;
}

void LoadAppConfig(const std::string& text, AppConfig& config)
{
    nlohmann::json top = ParseJsonText(text);

    config.name = GetStringOr(top, "name", "");
    if (config.name.empty())
        throw std::runtime_error("invalid name");
    config.main = GetStringOr(top, "main", "index.html");

    const nlohmann::json& window = Section(top, "window");
    config.title = GetStringOr(window, "title", DefaultWindowTitle);
    config.width = GetIntOr(window, "width", 1024);
    config.height = GetIntOr(window, "height", 768);
    config.icon = GetStringOr(window, "icon", "");
    config.resizable = GetBoolOr(window, "resizable", true);
    config.chromiumArgs = GetStringOr(top, "chromium-args", "");

    const nlohmann::json& settings = Section(top, "settings");
    config.distributionMode = ReadMode<DistributionMode>(settings, "distribution-mode", DistributionModeNames, "invalid distribution mode");
    config.hostingMode = ReadMode<HostingMode>(settings, "hosting-mode", HostingModeNames, "invalid hosting mode");
    config.contentMode = ReadMode<ContentMode>(settings, "content-mode", ContentModeNames, "invalid content mode");
    config.enableDevtools = GetBoolOr(settings, "enable-devtools", true);
    config.crossOriginIsolation = GetBoolOr(settings, "cross-origin-isolation", false);
    ApplyConfigKeys(window, settings, config);

    const nlohmann::json& messages = Section(top, "messages");
    config.installMessage = GetStringOr(messages, "install-webview2",
        "This app requires the Microsoft Edge WebView2 runtime. It will be downloaded and installed for you now.");
    config.downloadingMessage = GetStringOr(messages, "downloading", "Downloading...");
    config.installFailedMessage = GetStringOr(messages, "install-webview2-failed",
        "Failed to install the Microsoft Edge WebView2 runtime. Check that you have permission to install it, "
        "and that your Internet connection is working. Run the app again to try again.");
}

const char* ContentModeName(ContentMode mode) { return ContentModeNames[static_cast<int>(mode)]; }
const char* DistributionModeName(DistributionMode mode) { return DistributionModeNames[static_cast<int>(mode)]; }
const char* HostingModeName(HostingMode mode) { return HostingModeNames[static_cast<int>(mode)]; }
const char* DpiAwarenessName(DpiAwareness awareness) { return DpiAwarenessNames[static_cast<int>(awareness)]; }
const char* FrameRateName(FrameRate rate) { return FrameRateNames[static_cast<int>(rate)]; }
const char* GpuPreferenceName(GpuPreference gpu) { return GpuPreferenceNames[static_cast<int>(gpu)]; }
