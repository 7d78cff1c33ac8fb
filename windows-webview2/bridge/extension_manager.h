#pragma once

#include <string>
#include <vector>

#include "bridge/extension_library.h"
#include "bridge/folder_placeholders.h"
#include "bridge/include/velmora_extension.h"
#include "window/native_window.h"

// What the extension library reaches of the host object.
class IExtensionHost {
public:
    virtual ~IExtensionHost() = default;
    virtual void PostJsonToPage(const std::string& json) = 0;
    virtual const FolderMap& Folders() const = 0;
};

// Binds "Tandrel.dll": loads it, calls its entry points at their moments,
// keeps the component identifiers it registers and serves it IWrapperApp.
class ExtensionManager final : public IWrapperApp {
public:
    ExtensionManager(IExtensionLibrary& extensionLibrary, std::string hostAppFolder,
        std::string hostWebResourceFolder, std::string hostUserDataFolder);
    ExtensionManager(const ExtensionManager&) = delete;
    ExtensionManager& operator=(const ExtensionManager&) = delete;

    // Loads the library beside the executable and, when it has all four
    // entry points, calls "Init"; true when "Init" returned identifiers.
    bool LoadExtensionLibrary();
    // Each entry point is called only when the library has it.
    void OnMainWindowCreated(NativeWindow window);
    void OnExtensionMessage(const std::string& message);
    void Release();
    void FreeLibrary();

    // Set while the host object exists; none before and after.
    void SetWebViewHost(IExtensionHost* host);
    const std::vector<std::string>& ComponentIds() const { return componentIds; }

    void SendMessageToPage(const char* json) override;
    const char* ResolveFolderPlaceholder(const char* placeholder) override;

private:
    IExtensionLibrary& library;
    VelmoraInitFunction init = nullptr;
    VelmoraReleaseFunction release = nullptr;
    VelmoraMainWindowCreatedFunction onMainWindowCreated = nullptr;
    VelmoraExtensionMessageFunction onExtensionMessage = nullptr;
    // Handed to "Init"; they must outlive the library.
    const std::string appFolder;
    const std::string webResourceFolder;
    const std::string userDataFolder;
    IExtensionHost* webViewHost = nullptr;
    std::vector<std::string> componentIds;
};
