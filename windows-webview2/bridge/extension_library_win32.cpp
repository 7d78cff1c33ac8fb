#include "bridge/extension_library_win32.h"

#include "common/paths_win32.h"

bool ExtensionLibraryWin32::Load(const std::string& path)
{
    // Neither the library nor its dependencies come from the current
    // directory or PATH, where anyone may have put a DLL of that name.
    module = LoadLibraryExW(CompatiblePlatformPath(path).c_str(), nullptr,
        LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    return module != nullptr;
}

ExtensionSymbol ExtensionLibraryWin32::Find(const char* name)
{
    if (!module)
        return nullptr;
    return reinterpret_cast<ExtensionSymbol>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void ExtensionLibraryWin32::Free()
{
    if (!module)
        return;
    FreeLibrary(module);
    module = nullptr;
}
