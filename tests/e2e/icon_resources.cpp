// Test helper for the icon updater's end-to-end runs.
//   icon_resources seed <exe>: gives the executable the English icon group
//     "APPICON" and English RT_ICON images 1 to 6, as an app built with an
//     English resource script has.
//   icon_resources dump <exe>: prints every RT_ICON and RT_GROUP_ICON
//     resource as "<type> <name> <language> <hex bytes>", one per line.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK PrintLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR)
{
    HRSRC found = FindResourceExW(module, type, name, language);
    const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    DWORD size = SizeofResource(module, found);
    std::printf("%u ", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(type)));
    if (IS_INTRESOURCE(name))
        std::printf("#%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    else
        std::printf("%ls", name);
    std::printf(" %u ", language);
    for (DWORD i = 0; i < size; ++i)
        std::printf("%02x", data[i]);
    std::printf("\n");
    return TRUE;
}

BOOL CALLBACK PrintName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR)
{
    EnumResourceLanguagesW(module, type, name, PrintLanguage, 0);
    return TRUE;
}

int Dump(const wchar_t* exe)
{
    HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return 1;
    EnumResourceNamesW(module, RT_ICON, PrintName, 0);
    EnumResourceNamesW(module, RT_GROUP_ICON, PrintName, 0);
    FreeLibrary(module);
    return 0;
}

int Seed(const wchar_t* exe)
{
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HANDLE update = BeginUpdateResourceW(exe, FALSE);
    if (!update)
        return 1;
    std::string group("\0\0\1\0\6\0", 6);
    for (WORD id = 1; id <= 6; ++id) {
        std::string image = "old image " + std::to_string(id);
        UpdateResourceW(update, RT_ICON, MAKEINTRESOURCEW(id), english, image.data(), static_cast<DWORD>(image.size()));
        std::string entry(14, '\0');
        entry[0] = entry[1] = static_cast<char>(16 * id);
        entry[8] = static_cast<char>(image.size());
        entry[12] = static_cast<char>(id);
        group += entry;
    }
    UpdateResourceW(update, RT_GROUP_ICON, L"APPICON", english, group.data(), static_cast<DWORD>(group.size()));
    return EndUpdateResourceW(update, FALSE) ? 0 : 1;
}

}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    std::wstring command = argv[1];
    if (command == L"dump")
        return Dump(argv[2]);
    if (command == L"seed")
        return Seed(argv[2]);
    return 2;
}
