#pragma once

#include <windows.h>

#include "bridge/extension_library.h"

// The extension library as a DLL loaded by its full path.
class ExtensionLibraryWin32 : public IExtensionLibrary {
public:
    ExtensionLibraryWin32() = default;
    ExtensionLibraryWin32(const ExtensionLibraryWin32&) = delete;
    ExtensionLibraryWin32& operator=(const ExtensionLibraryWin32&) = delete;

    bool Load(const std::string& path) override;
    ExtensionSymbol Find(const char* name) override;
    void Free() override;

private:
    HMODULE module = nullptr;
};
