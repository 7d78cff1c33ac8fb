#include "bridge/extension_manager.h"

#include <type_traits>

// The entry points' declarations and the types the host calls them through
// must not drift apart.
static_assert(std::is_same_v<decltype(&::Init), VelmoraInitFunction>);
static_assert(std::is_same_v<decltype(&::OnMainWindowCreated), VelmoraMainWindowCreatedFunction>);
static_assert(std::is_same_v<decltype(&::OnExtensionMessage), VelmoraExtensionMessageFunction>);
static_assert(std::is_same_v<decltype(&::Release), VelmoraReleaseFunction>);

namespace {

template <typename Function>
Function FindEntryPoint(IExtensionLibrary& library, const char* name)
{
    return reinterpret_cast<Function>(library.Find(name));
}

}

ExtensionManager::ExtensionManager(IExtensionLibrary& extensionLibrary, std::string hostAppFolder,
    std::string hostWebResourceFolder, std::string hostUserDataFolder)
    : library(extensionLibrary), appFolder(std::move(hostAppFolder)),
      webResourceFolder(std::move(hostWebResourceFolder)), userDataFolder(std::move(hostUserDataFolder))
{
}

bool ExtensionManager::LoadExtensionLibrary()
{
    if (!library.Load(appFolder + "Tandrel.dll"))
        return false;
    init = FindEntryPoint<VelmoraInitFunction>(library, "Init");
    release = FindEntryPoint<VelmoraReleaseFunction>(library, "Release");
    onMainWindowCreated = FindEntryPoint<VelmoraMainWindowCreatedFunction>(library, "OnMainWindowCreated");
    onExtensionMessage = FindEntryPoint<VelmoraExtensionMessageFunction>(library, "OnExtensionMessage");
    if (!init || !release || !onMainWindowCreated || !onExtensionMessage)
        return false;
    const char* const* ids = init(appFolder.c_str(), webResourceFolder.c_str(), userDataFolder.c_str(), this);
    if (!ids)
        return false;
    for (; *ids; ++ids)
        componentIds.emplace_back(*ids);
    return true;
}

void ExtensionManager::OnMainWindowCreated(NativeWindow window)
{
    if (onMainWindowCreated)
        onMainWindowCreated(static_cast<VelmoraWindow>(window));
}

void ExtensionManager::OnExtensionMessage(const std::string& message)
{
    if (onExtensionMessage)
        onExtensionMessage(message.c_str());
}

void ExtensionManager::Release()
{
    if (release)
        release();
}

void ExtensionManager::FreeLibrary()
{
    init = nullptr;
    release = nullptr;
    onMainWindowCreated = nullptr;
    onExtensionMessage = nullptr;
    library.Free();
}

void ExtensionManager::SetWebViewHost(IExtensionHost* host)
{
    webViewHost = host;
}

void ExtensionManager::SendMessageToPage(const char* json)
{
    if (!webViewHost || !json)
        return;
    // The caller is the library's C code: nothing may unwind into it.
    try {
        webViewHost->PostJsonToPage(json);
    } catch (...) {
    }
}

const char* ExtensionManager::ResolveFolderPlaceholder(const char* placeholder)
{
    if (!webViewHost || !placeholder)
        return "";
    const FolderMap& folders = webViewHost->Folders();
    auto found = folders.find(placeholder);
    return found == folders.end() ? "" : found->second.c_str();
}
