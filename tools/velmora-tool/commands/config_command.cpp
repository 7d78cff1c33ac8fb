#include <cstdio>
#include <exception>

#include <nlohmann/json.hpp>

#include "app/startup_messages.h"
#include "common/file_reading.h"
#include "config/app_config.h"
#include "tools/velmora-tool/commands/commands.h"

namespace {

nlohmann::ordered_json ConfigAsJson(const AppConfig& config)
{
    return {
        {"name", config.name},
        {"main", config.main},
        {"title", config.title},
        {"width", config.width},
        {"height", config.height},
        {"icon", config.icon},
        {"resizable", config.resizable},
        {"chromiumArgs", config.chromiumArgs},
        {"contentMode", ContentModeName(config.contentMode)},
        {"distributionMode", DistributionModeName(config.distributionMode)},
        {"hostingMode", HostingModeName(config.hostingMode)},
        {"enableDevtools", config.enableDevtools},
        {"crossOriginIsolation", config.crossOriginIsolation},
        {"backgroundColor", config.backgroundColor ? nlohmann::ordered_json(ColourText(*config.backgroundColor)) : nullptr},
        {"fullscreen", config.fullscreen},
        {"minWidth", config.minWidth},
        {"minHeight", config.minHeight},
        {"rememberPlacement", config.rememberPlacement},
        {"dpiAwareness", DpiAwarenessName(config.dpiAwareness)},
        {"singleInstance", config.singleInstance},
        {"closeRequest", config.closeRequest},
        {"closeRequestTimeout", config.closeRequestSeconds},
        {"autoplay", config.autoplay},
        {"runInBackground", config.runInBackground},
        {"frameRate", FrameRateName(config.frameRate)},
        {"gpu", GpuPreferenceName(config.gpu)},
        {"wineBrowserArguments", config.wineBrowserArguments},
        {"installMessage", config.installMessage},
        {"downloadingMessage", config.downloadingMessage},
        {"installFailedMessage", config.installFailedMessage},
    };
}

}

// Prints the configuration the host would run with, from the same loader.
int RunConfigCommand(const std::string& packageJson)
{
    std::string text = ReadWholeFile(packageJson);
    if (text.empty()) {
        std::fprintf(stderr, "%s\n", StartupMessage::LoadPackage);
        return 1;
    }
    AppConfig config;
    try {
        LoadAppConfig(text, config);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("%s\n", ConfigAsJson(config).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    return 0;
}
