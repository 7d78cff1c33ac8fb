// The Steam kit as the app's extension library ("Tandrel.dll"): the host's
// four entry points over SteamKit and FlatSteamApi. Everything runs on the
// host's UI thread, Steam's callbacks included (a thread timer).
#include <windows.h>

#include <memory>
#include <string>

#include "bridge/include/velmora_extension.h"
#include "common/file_reading.h"
#include "common/json_readers.h"
#include "common/text_win32.h"
#include "extensions/steam/core/request_arguments.h"
#include "extensions/steam/core/steam_kit.h"
#include "extensions/steam/core/steam_settings.h"
#include "extensions/steam/win32/flat_steam_api_win32.h"

namespace {

// Often enough for Steam's callbacks, rarely enough to cost nothing.
constexpr UINT CallbackMilliseconds = 100;

struct Kit {
    IWrapperApp* host = nullptr;
    std::unique_ptr<FlatSteamApi> steam;
    std::unique_ptr<SteamKit> component;
    UINT_PTR timer = 0;
};

// The host loads one extension library and calls it from one thread.
Kit* kit;

const char* const ComponentIds[] = {"steam", nullptr};

// The store page's default; 0 (none) when "package.json" beside the host
// (empty when unreadable) sets none.
uint32_t AppIdIn(const std::string& packageText)
{
    try {
        nlohmann::json package = ParseJsonText(packageText);
        return package.is_object() ? SteamAppIdIn(package).value_or(0) : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

void CALLBACK RunSteamCallbacks(HWND, UINT, UINT_PTR, DWORD)
{
    try {
        kit->component->Tick();
    } catch (const std::exception&) {
        // Nothing may unwind into the host's message loop.
    }
}

void SendToPage(const std::string& json)
{
    kit->host->SendMessageToPage(json.c_str());
}

}

const char* const* Init(const char* appFolder, const char*, const char*, IWrapperApp* app)
{
    try {
        kit = new Kit();
        kit->host = app;
        std::string unavailable;
        try {
            kit->steam = std::make_unique<FlatSteamApi>(Utf8ToWide(appFolder));
        } catch (const SteamError& error) {
            unavailable = error.what();
        }
        kit->component = std::make_unique<SteamKit>(kit->steam.get(), unavailable, AppIdIn(ReadWholeFile(std::string(appFolder) + "package.json")), SendToPage);
        if (kit->steam)
            kit->timer = SetTimer(nullptr, 0, CallbackMilliseconds, RunSteamCallbacks);
        return ComponentIds;
    } catch (const std::exception&) {
        return nullptr;
    }
}

void OnMainWindowCreated(VelmoraWindow)
{
}

void OnExtensionMessage(const char* messageJson)
{
    if (!kit || !kit->component)
        return;
    try {
        kit->component->OnMessage(messageJson);
    } catch (const std::exception&) {
        // A request the kit could not even refuse (out of memory) is dropped.
    }
}

void Release(void)
{
    if (!kit)
        return;
    if (kit->timer)
        KillTimer(nullptr, kit->timer);
    kit->component.reset();
    kit->steam.reset();
    delete kit;
    kit = nullptr;
}
