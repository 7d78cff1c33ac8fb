#pragma once

#include <string>

// Any exported function; cast to its real type before the call.
using ExtensionSymbol = void (*)();

// The extension library as a loadable module.
class IExtensionLibrary {
public:
    virtual ~IExtensionLibrary() = default;
    // Loads the library from this full path; false when it cannot be loaded.
    virtual bool Load(const std::string& path) = 0;
    // The export of this name, or null when the library lacks it.
    virtual ExtensionSymbol Find(const char* name) = 0;
    // Unloads the library if it is loaded.
    virtual void Free() = 0;
};
