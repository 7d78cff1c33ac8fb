#include "bridge/web_message_bridge.h"

#include <exception>

#include "common/json_readers.h"

namespace {

void Dispatch(IWindowOperations& window, const nlohmann::json& message)
{
    std::string type = GetStringOr(message, "type", "");
    if (type == "set-fullscreen") {
        window.SetFullscreen(GetBoolOr(message, "fullscreen", false));
    } else if (type == "set-window-size") {
        int32_t height = GetIntOr(message, "windowHeight", 0);
        int32_t width = GetIntOr(message, "windowWidth", 0);
        window.SetWindowSize(width, height);
    } else if (type == "set-window-position") {
        int32_t y = GetIntOr(message, "windowY", 0);
        int32_t x = GetIntOr(message, "windowX", 0);
        window.SetWindowPosition(x, y);
    }
}

}

void HandleWebMessage(IWindowOperations& window, const std::string& text)
{
    try {
        Dispatch(window, ParseJsonText(text));
    } catch (const std::exception&) {
        // A bad message must never take the host down.
    }
}
