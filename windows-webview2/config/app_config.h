#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class ContentMode : int32_t { Bundle = 0, Remote = 1 };
enum class DistributionMode : int32_t { Evergreen = 0, Fixed = 1 };
enum class HostingMode : int32_t { Windowed = 0, WindowToVisual = 1 };
enum class DpiAwareness : int32_t { System = 0, PerMonitor = 1 };
enum class FrameRate : int32_t { Vsync = 0, Unlimited = 1 };
enum class GpuPreference : int32_t { Default = 0, HighPerformance = 1 };

// The bounds of "settings" → "close-request-timeout", in seconds.
inline constexpr int32_t DefaultCloseRequestSeconds = 5;
inline constexpr int32_t MaxCloseRequestSeconds = 60;
inline bool IsCloseRequestSeconds(int32_t seconds)
{
    return seconds >= 1 && seconds <= MaxCloseRequestSeconds;
}

// The app's settings from "package.json", written once at start-up.
struct AppConfig {
    std::string name;
    std::string main;
    std::string title;
    int32_t width = 1024;
    int32_t height = 768;
    std::string icon;
    void* iconHandle = nullptr; // HICON, set by start-up after loading
    bool resizable = true;
    std::string chromiumArgs;
    ContentMode contentMode = ContentMode::Bundle;
    DistributionMode distributionMode = DistributionMode::Evergreen;
    HostingMode hostingMode = HostingMode::Windowed;
    bool enableDevtools = true;
    bool crossOriginIsolation = false;
    // What players expect of a game's window; each off unless asked for.
    std::optional<uint32_t> backgroundColor; // 0xRRGGBB
    bool fullscreen = false;
    int32_t minWidth = 0;  // 96-DPI units; 0: no minimum
    int32_t minHeight = 0;
    bool rememberPlacement = false;
    DpiAwareness dpiAwareness = DpiAwareness::System;
    bool singleInstance = false;
    bool closeRequest = false;
    int32_t closeRequestSeconds = DefaultCloseRequestSeconds;
    bool autoplay = false;
    // What shippers ask of a game host; each off unless asked for.
    bool runInBackground = false;
    FrameRate frameRate = FrameRate::Vsync;
    GpuPreference gpu = GpuPreference::Default;
    std::string wineBrowserArguments; // added to the browser arguments under Wine only
    std::string installMessage;
    std::string downloadingMessage;
    std::string installFailedMessage;
};

extern const char* const DefaultWindowTitle;

// Fills config from the UTF-8 JSON text; throws std::runtime_error with a
// short text ("invalid name", ...) or the JSON library's parse error.
void LoadAppConfig(const std::string& text, AppConfig& config);

const char* ContentModeName(ContentMode mode);
const char* DistributionModeName(DistributionMode mode);
const char* HostingModeName(HostingMode mode);
const char* DpiAwarenessName(DpiAwareness awareness);
const char* FrameRateName(FrameRate rate);
const char* GpuPreferenceName(GpuPreference gpu);

// The names of the two-valued choices, the default first.
extern const char* const DpiAwarenessNames[2];
extern const char* const FrameRateNames[2];
extern const char* const GpuPreferenceNames[2];

// "#rrggbb" (either case) as 0xRRGGBB; any other text gives nothing.
std::optional<uint32_t> ParseColour(const std::string& text);
// 0xRRGGBB as "#rrggbb".
std::string ColourText(uint32_t colour);
