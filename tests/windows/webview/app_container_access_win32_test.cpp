#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/paths_win32.h"
#include "webview/app_container_access_win32.h"

namespace {

// Each entry as "<type> <flags> <mask> <sid>".
std::vector<std::string> Entries(ACL* dacl)
{
    std::vector<std::string> entries;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        GetAce(dacl, i, &ace);
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        LPWSTR sid = nullptr;
        ConvertSidToStringSidW(&allowed->SidStart, &sid);
        char mask[16];
        snprintf(mask, sizeof mask, "%lx", static_cast<unsigned long>(allowed->Mask));
        entries.push_back(std::to_string(allowed->Header.AceType) + " " + std::to_string(allowed->Header.AceFlags) +
                          " " + mask + " " + WideToUtf8(sid));
        LocalFree(sid);
    }
    return entries;
}

}

// Wine keeps a folder's access list only as Unix permissions (see the
// deviations list), so the entries are checked in the list the host writes.
TEST(AppContainerAccess, BothPackageGroupsAreAddedOnceWithInheritance)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;WD)",
        SDDL_REVISION_1, &descriptor, nullptr));
    BOOL present = FALSE, defaulted = FALSE;
    ACL* dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);

    ACL* updated = WithAppContainerGrants(dacl);
    ASSERT_NE(nullptr, updated);
    std::vector<std::string> entries = Entries(updated);
    // Allowed (0), inherited by files and folders (3), read and execute.
    EXPECT_EQ(1, std::count(entries.begin(), entries.end(), "0 3 1200a9 S-1-15-2-1"));
    EXPECT_EQ(1, std::count(entries.begin(), entries.end(), "0 3 1200a9 S-1-15-2-2"));
    EXPECT_EQ(4u, entries.size()) << "the folder's own entries stay";
    EXPECT_EQ(nullptr, WithAppContainerGrants(updated)) << "nothing is added twice";
    LocalFree(updated);
    LocalFree(descriptor);
}

TEST(AppContainerAccess, AFolderIsGrantedAndAMissingOneIsNot)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string folder = WideToUtf8(temp) + "velmora-webview2-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(PlatformPath(folder).c_str(), nullptr));
    EXPECT_TRUE(GrantAppContainerAccess(folder));
    EXPECT_FALSE(GrantAppContainerAccess(folder + "\\missing"));
    RemoveDirectoryW(PlatformPath(folder).c_str());
}
