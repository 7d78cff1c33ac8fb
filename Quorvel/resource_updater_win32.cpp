#include "Quorvel/resource_updater_win32.h"

#include "common/paths_win32.h"

namespace {

ResourceName NameOf(LPCWSTR name)
{
    if (IS_INTRESOURCE(name))
        return ResourceName::Number(static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
    std::u16string text;
    for (LPCWSTR c = name; *c; ++c)
        text.push_back(static_cast<char16_t>(*c));
    return ResourceName::Text(text);
}

BOOL CALLBACK LanguageCallback(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR records)
{
    reinterpret_cast<std::vector<ResourceRecord>*>(records)->push_back(
        {static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(type)), NameOf(name), language});
    return TRUE;
}

BOOL CALLBACK NameCallback(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR records)
{
    EnumResourceLanguagesW(module, type, name, LanguageCallback, records);
    return TRUE;
}

}

std::vector<ResourceRecord> ResourceUpdaterWin32::ListIconResources(const std::string& exePath)
{
    std::vector<ResourceRecord> records;
    HMODULE module = LoadLibraryExW(CompatiblePlatformPath(exePath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return records;
    LONG_PTR param = reinterpret_cast<LONG_PTR>(&records);
    EnumResourceNamesW(module, MAKEINTRESOURCEW(RtIcon), NameCallback, param);
    EnumResourceNamesW(module, MAKEINTRESOURCEW(RtGroupIcon), NameCallback, param);
    FreeLibrary(module);
    return records;
}

bool ResourceUpdaterWin32::Begin(const std::string& exePath)
{
    update = BeginUpdateResourceW(CompatiblePlatformPath(exePath).c_str(), FALSE);
    return update != nullptr;
}

bool ResourceUpdaterWin32::Update(uint16_t type, const ResourceName& name, uint16_t language, const std::string* data)
{
    std::wstring text(name.text.begin(), name.text.end());
    LPCWSTR resourceName = name.isInteger ? MAKEINTRESOURCEW(name.id) : text.c_str();
    void* bytes = data ? const_cast<char*>(data->data()) : nullptr;
    DWORD size = data ? static_cast<DWORD>(data->size()) : 0;
    return UpdateResourceW(update, MAKEINTRESOURCEW(type), resourceName, language, bytes, size) != FALSE;
}

bool ResourceUpdaterWin32::End(bool discard)
{
    BOOL committed = EndUpdateResourceW(update, discard ? TRUE : FALSE);
    update = nullptr;
    return committed != FALSE;
}
