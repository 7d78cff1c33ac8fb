#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "bridge/extension_manager.h"
#include "bridge/folder_placeholders.h"
#include "bridge/launch.h"
#include "bridge/page_channel.h"
#include "window/window_operations.h"

// The JSON protocol between the page and the host: runs the messages the
// page posts, answers "wrapper-init" with the folder handles and the
// extension components, and keeps the folder map the extensions read.
class WebMessageBridge : public IExtensionHost {
public:
    WebMessageBridge(IWindowOperations& windowOperations, IPageChannel& pageChannel, IKnownFolders& known,
        ExtensionManager& extensionManager, HostFolders hostFolders, Launch hostLaunch);

    // Runs one message (JSON text, UTF-8). Messages that are not JSON
    // objects, have an unknown "type" or fail while handled are dropped
    // without a word; what they did before failing stays done.
    void HandleWebMessage(const std::string& text);
    // "directory-handles" (when the runtime can carry them), then
    // "wrapper-init-response" with the registered component identifiers,
    // the launch arguments and the platform.
    void SendWrapperInitResponse();
    void SendDirectoryHandles(IFolderHandleMessage& message);

    void PostJsonToPage(const std::string& json) override;
    const FolderMap& Folders() const override { return folderMap; }

private:
    void Dispatch(const nlohmann::json& message, const std::string& text);

    IWindowOperations& window;
    IPageChannel& page;
    IKnownFolders& knownFolders;
    ExtensionManager& extensions;
    const HostFolders folders;
    const Launch launch;
    // Entries are added or overwritten, never removed.
    FolderMap folderMap;
};

// Compact, members in ascending byte order, non-ASCII as UTF-8; throws on
// text that is not valid UTF-8.
std::string SerializeMessage(const nlohmann::json& message);
