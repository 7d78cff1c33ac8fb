#include "bridge/web_message_bridge.h"

#include <exception>

#include "common/json_readers.h"

WebMessageBridge::WebMessageBridge(IWindowOperations& windowOperations, IPageChannel& pageChannel,
    IKnownFolders& known, ExtensionManager& extensionManager, HostFolders hostFolders, Launch hostLaunch)
    : window(windowOperations), page(pageChannel), knownFolders(known), extensions(extensionManager),
      folders(std::move(hostFolders)), launch(std::move(hostLaunch))
{
}

void WebMessageBridge::HandleWebMessage(const std::string& text)
{
    try {
        Dispatch(ParseJsonText(text), text);
    } catch (const std::exception&) {
        // A bad message must never take the host down.
    }
}

void WebMessageBridge::Dispatch(const nlohmann::json& message, const std::string& text)
{
    std::string type = GetStringOr(message, "type", "");
    if (type == "wrapper-init") {
        SendWrapperInitResponse();
    } else if (type == "set-fullscreen") {
        window.SetFullscreen(GetBoolOr(message, "fullscreen", false));
    } else if (type == "set-window-size") {
        int32_t height = GetIntOr(message, "windowHeight", 0);
        int32_t width = GetIntOr(message, "windowWidth", 0);
        window.SetWindowSize(width, height);
    } else if (type == "set-window-position") {
        int32_t y = GetIntOr(message, "windowY", 0);
        int32_t x = GetIntOr(message, "windowX", 0);
        window.SetWindowPosition(x, y);
    } else if (type == "enable-close-request") {
        window.EnableCloseRequest();
    } else if (type == "close" || type == "cancel-close") {
        window.AnswerCloseRequest(type == "close");
    } else if (type == "extension-message") {
        extensions.OnExtensionMessage(text);
    }
}

// The runtime keeps no order between its two ways of posting, so when the
// handles can be sent the response goes the same way, after them.
void WebMessageBridge::SendWrapperInitResponse()
{
    std::unique_ptr<IFolderHandleMessage> handles = page.StartFolderHandleMessage();
    if (handles)
        SendDirectoryHandles(*handles);
    nlohmann::json response = {
        {"type", "wrapper-init-response"},
        {"registeredComponentIds", extensions.ComponentIds()},
        {"arguments", launch.arguments},
        {"platform", PlatformName(launch)},
    };
    if (handles)
        handles->PostFollowing(SerializeMessage(response));
    else
        PostJsonToPage(SerializeMessage(response));
}

void WebMessageBridge::SendDirectoryHandles(IFolderHandleMessage& message)
{
    for (const FolderPlaceholder& row : FolderPlaceholders) {
        std::string path = FolderPathFor(row, folders, knownFolders);
        if (path.empty()) {
            message.AddEmptySlot();
            continue;
        }
        folderMap[row.placeholder] = path;
        message.AddFolder(path);
    }
    message.Post(SerializeMessage({{"type", "directory-handles"}}));
}

void WebMessageBridge::PostJsonToPage(const std::string& json)
{
    page.PostJsonToPage(json);
}

std::string SerializeMessage(const nlohmann::json& message)
{
    return message.dump(-1, ' ', false, nlohmann::json::error_handler_t::strict);
}
