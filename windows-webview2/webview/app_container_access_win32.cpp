#include "webview/app_container_access_win32.h"

#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <vector>

#include "common/paths_win32.h"
#include "webview/app_container_access.h"

namespace {

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalFreer>;

std::string SidText(PSID sid)
{
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return {};
    LocalMemory owned(text);
    return WideToUtf8(text);
}

std::optional<std::vector<AccessEntry>> EntriesOf(ACL* dacl)
{
    if (!dacl)
        return std::nullopt;
    std::vector<AccessEntry> entries;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace))
            continue;
        auto* header = static_cast<ACE_HEADER*>(ace);
        AccessEntry entry;
        entry.allows = header->AceType == ACCESS_ALLOWED_ACE_TYPE;
        entry.inheritable = (header->AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) ==
                            (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        entry.inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
        if (entry.allows) {
            auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            entry.mask = allowed->Mask;
            entry.sid = SidText(&allowed->SidStart);
        }
        entries.push_back(entry);
    }
    return entries;
}

}

ACL* WithAppContainerGrants(ACL* dacl)
{
    std::vector<std::string> missing = MissingAppContainerGrants(EntriesOf(dacl));
    if (missing.empty())
        return nullptr;
    std::vector<LocalMemory> sids;
    std::vector<EXPLICIT_ACCESS_W> grants;
    for (const std::string& text : missing) {
        PSID sid = nullptr;
        if (!ConvertStringSidToSidW(Utf8ToWide(text).c_str(), &sid))
            return nullptr;
        sids.emplace_back(sid);
        EXPLICIT_ACCESS_W grant = {};
        grant.grfAccessPermissions = ReadAndExecuteMask;
        grant.grfAccessMode = GRANT_ACCESS;
        grant.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
        grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        grant.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        grant.Trustee.ptstrName = static_cast<LPWSTR>(sid);
        grants.push_back(grant);
    }
    ACL* updated = nullptr;
    if (SetEntriesInAclW(static_cast<ULONG>(grants.size()), grants.data(), dacl, &updated) != ERROR_SUCCESS)
        return nullptr;
    return updated;
}

bool GrantAppContainerAccess(const std::string& folder)
{
    std::wstring path = PlatformPath(folder);
    ACL* dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
            nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    LocalMemory ownedDescriptor(descriptor);
    if (MissingAppContainerGrants(EntriesOf(dacl)).empty())
        return true;
    LocalMemory updated(WithAppContainerGrants(dacl));
    return updated && SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                          static_cast<ACL*>(updated.get()), nullptr) == ERROR_SUCCESS;
}
