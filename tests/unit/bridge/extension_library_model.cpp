#include "tests/unit/bridge/extension_library_model.h"

#include <algorithm>
#include <cstdint>

namespace {

ExtensionLibraryModel* active = nullptr;

const char* const* ModelInit(const char* appFolder, const char* webResourceFolder, const char* userDataFolder,
    IWrapperApp* app)
{
    active->calls.push_back(std::string("Init ") + appFolder + " | " + webResourceFolder + " | " + userDataFolder);
    active->app = app;
    if (active->duringInit)
        active->duringInit(*app);
    if (!active->ids)
        return nullptr;
    active->idStorage = *active->ids;
    active->idList.clear();
    for (const std::string& id : active->idStorage)
        active->idList.push_back(id.c_str());
    active->idList.push_back(nullptr);
    return active->idList.data();
}

void ModelOnMainWindowCreated(void* window)
{
    active->calls.push_back("OnMainWindowCreated " + std::to_string(reinterpret_cast<uintptr_t>(window)));
}

void ModelOnExtensionMessage(const char* message)
{
    active->calls.push_back(std::string("OnExtensionMessage ") + message);
    if (active->onMessage)
        active->onMessage(*active->app, message);
}

void ModelRelease()
{
    active->calls.push_back("Release");
}

}

ExtensionLibraryModel::ExtensionLibraryModel()
{
    active = this;
}

ExtensionLibraryModel::~ExtensionLibraryModel()
{
    active = nullptr;
}

bool ExtensionLibraryModel::Load(const std::string& path)
{
    calls.push_back("load " + path);
    return present;
}

ExtensionSymbol ExtensionLibraryModel::Find(const char* name)
{
    std::string wanted = name;
    if (std::find(exports.begin(), exports.end(), wanted) == exports.end())
        return nullptr;
    if (wanted == "Init")
        return reinterpret_cast<ExtensionSymbol>(&ModelInit);
    if (wanted == "Release")
        return reinterpret_cast<ExtensionSymbol>(&ModelRelease);
    if (wanted == "OnMainWindowCreated")
        return reinterpret_cast<ExtensionSymbol>(&ModelOnMainWindowCreated);
    if (wanted == "OnExtensionMessage")
        return reinterpret_cast<ExtensionSymbol>(&ModelOnExtensionMessage);
    return nullptr;
}

void ExtensionLibraryModel::Free()
{
    calls.push_back("free");
}
