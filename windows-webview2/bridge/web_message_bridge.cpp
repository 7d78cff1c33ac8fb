#include "web_message_bridge.h"

#include <exception>

#include "corvane_webview.h"
#include "json_readers.h"

namespace {

void Dispatch(CorvaneWebView& host, const nlohmann::json& message)
{
    std::string type = GetStringOr(message, "type", "");
    if (type == "set-fullscreen") {
        host.SetFullscreen(GetBoolOr(message, "fullscreen", false));
    } else if (type == "set-window-size") {
        int32_t height = GetIntOr(message, "windowHeight", 0);
        int32_t width = GetIntOr(message, "windowWidth", 0);
        host.SetWindowSize(width, height);
    } else if (type == "set-window-position") {
        int32_t y = GetIntOr(message, "windowY", 0);
        int32_t x = GetIntOr(message, "windowX", 0);
        host.SetWindowPosition(x, y);
    }
}

}

void HandleWebMessage(CorvaneWebView& host, const std::string& text)
{
    try {
        Dispatch(host, ParseJsonText(text));
    } catch (const std::exception&) {
        // A bad message must never take the host down.
    }
}
