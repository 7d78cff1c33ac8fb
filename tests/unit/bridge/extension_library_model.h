#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bridge/extension_library.h"
#include "bridge/include/velmora_extension.h"

// An extension library in the test process: its exports are plain
// functions that record each call in `calls` of the model that is alive
// (one at a time) and run what the test gave them to do.
class ExtensionLibraryModel : public IExtensionLibrary {
public:
    ExtensionLibraryModel();
    ~ExtensionLibraryModel() override;

    bool Load(const std::string& path) override;
    ExtensionSymbol Find(const char* name) override;
    void Free() override;

    bool present = true;
    std::vector<std::string> exports = {"Init", "Release", "OnMainWindowCreated", "OnExtensionMessage"};
    // What "Init" returns; none gives a null list.
    std::optional<std::vector<std::string>> ids = std::vector<std::string> {"sample.echo", "sample.folders"};
    // Run inside the entry points, with the host's interface.
    std::function<void(IWrapperApp&)> duringInit;
    std::function<void(IWrapperApp&, const char*)> onMessage;

    std::vector<std::string> calls;
    IWrapperApp* app = nullptr;
    // The strings "Init" returned pointers into.
    std::vector<std::string> idStorage;
    std::vector<const char*> idList;
};
