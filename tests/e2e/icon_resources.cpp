// Test helper for the icon updater's end-to-end runs.
//   icon_resources seed <exe>: gives the executable the English icon group
//     "APPICON" and English RT_ICON images 1 to 6, as an app built with an
//     English resource script has.
//   icon_resources seed-portable <exe>: the same calls through the portable
//     resource writer, for comparing it with the platform's functions.
//   icon_resources make <exe> last|refused: writes a PE laid out by the
//     tests' builder with a manifest, its resource section last or followed
//     by a data section.
//   icon_resources dump <exe>: prints every RT_ICON and RT_GROUP_ICON
//     resource as "<type> <name> <language> <hex bytes>", one per line.
//   icon_resources all <exe>: the same for every resource of every type.
//   icon_resources version <exe>: the version numbers and strings as the
//     version functions read them.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/text_win32.h"
#include "Quorvel/pe_file_updater.h"
#include "Quorvel/resource_updater_win32.h"
#include "tests/support/pe_builder.h"

namespace {

BOOL CALLBACK PrintLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR)
{
    HRSRC found = FindResourceExW(module, type, name, language);
    const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
    DWORD size = SizeofResource(module, found);
    if (IS_INTRESOURCE(type))
        std::printf("%u ", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(type)));
    else
        std::printf("%ls ", type);
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

BOOL CALLBACK PrintType(HMODULE module, LPWSTR type, LONG_PTR)
{
    EnumResourceNamesW(module, type, PrintName, 0);
    return TRUE;
}

int DumpAll(const wchar_t* exe)
{
    HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return 1;
    EnumResourceTypesW(module, PrintType, 0);
    FreeLibrary(module);
    return 0;
}

int Version(const wchar_t* exe)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe, &ignored);
    std::string block(size, '\0');
    if (size == 0 || !GetFileVersionInfoW(exe, 0, size, block.data()))
        return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
        return 1;
    std::printf("fixed %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
        HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    for (const wchar_t* key : {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
             L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        wchar_t* value = nullptr;
        std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        if (VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && length > 0)
            std::printf("%ls=%ls\n", key, value);
    }
    return 0;
}

// The English icon group "APPICON" and English images 1 to 6, through
// either updater, so that the two can be compared.
int Seed(IResourceUpdater& updater, const wchar_t* exe)
{
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    if (!updater.Begin(WideToUtf8(exe)))
        return 1;
    std::string group("\0\0\1\0\6\0", 6);
    for (WORD id = 1; id <= 6; ++id) {
        std::string image = "old image " + std::to_string(id);
        updater.Update(RtIcon, ResourceName::Number(id), english, &image);
        std::string entry(14, '\0');
        entry[0] = entry[1] = static_cast<char>(16 * id);
        entry[8] = static_cast<char>(image.size());
        entry[12] = static_cast<char>(id);
        group += entry;
    }
    updater.Update(RtGroupIcon, ResourceName::Text(u"APPICON"), english, &group);
    return updater.End(false) ? 0 : 1;
}

int Make(const wchar_t* exe, const std::wstring& layout)
{
    ResourceTree tree;
    tree[{ResourceName::Number(24), ResourceName::Number(1), 0x409}] = "<assembly/>";
    PeBuilder builder = HostLayout([&tree](uint32_t address) { return BuildResourceSection(tree, address); }, false);
    if (layout == L"refused")
        builder.sections.push_back({".data", "referenced by address"});
    std::string image = builder.Build();
    HANDLE file = CreateFileW(exe, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok && written == image.size() ? 0 : 1;
}

}

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && std::wstring(argv[1]) == L"make")
        return Make(argv[2], argv[3]);
    if (argc != 3)
        return 2;
    std::wstring command = argv[1];
    if (command == L"dump")
        return Dump(argv[2]);
    if (command == L"seed") {
        ResourceUpdaterWin32 platform;
        return Seed(platform, argv[2]);
    }
    if (command == L"seed-portable") {
        PeFileUpdater portable;
        int result = Seed(portable, argv[2]);
        if (result != 0)
            std::fprintf(stderr, "%s\n", portable.lastError.c_str());
        return result;
    }
    if (command == L"all")
        return DumpAll(argv[2]);
    if (command == L"version")
        return Version(argv[2]);
    return 2;
}
