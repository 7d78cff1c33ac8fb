#include <gtest/gtest.h>

#include "webview/app_container_access.h"

namespace {

AccessEntry Allow(const std::string& sid, uint32_t mask = ReadAndExecuteMask, bool inheritable = true)
{
    AccessEntry entry;
    entry.sid = sid;
    entry.mask = mask;
    entry.allows = true;
    entry.inheritable = inheritable;
    return entry;
}

}

TEST(AppContainerAccess, OnlyAnInheritableReadAndExecuteGrantCounts)
{
    const std::vector<std::string> both = AppContainerGroups;
    EXPECT_EQ(both, MissingAppContainerGrants(std::vector<AccessEntry> {Allow("S-1-5-18", 0x1F01FF)}));
    EXPECT_EQ(std::vector<std::string> {"S-1-15-2-2"},
        MissingAppContainerGrants(std::vector<AccessEntry> {Allow("S-1-15-2-1", 0x1F01FF)}));
    EXPECT_TRUE(MissingAppContainerGrants(
        std::vector<AccessEntry> {Allow("S-1-15-2-2"), Allow("S-1-5-18", 0x1F01FF), Allow("S-1-15-2-1")}).empty());

    AccessEntry inheritOnly = Allow("S-1-15-2-1");
    inheritOnly.inheritOnly = true;
    AccessEntry denied = Allow("S-1-15-2-1");
    denied.allows = false;
    const uint32_t readOnly = 0x00120089;
    for (const AccessEntry& weak : {Allow("S-1-15-2-1", readOnly), Allow("S-1-15-2-1", ReadAndExecuteMask, false),
             inheritOnly, denied, Allow("S-1-15-2-10")})
        EXPECT_EQ(std::vector<std::string> {"S-1-15-2-1"},
            MissingAppContainerGrants(std::vector<AccessEntry> {weak, Allow("S-1-15-2-2")}))
            << weak.sid << " " << weak.mask;
}

TEST(AppContainerAccess, ANullListAllowsEveryone)
{
    EXPECT_TRUE(MissingAppContainerGrants(std::nullopt).empty());
    EXPECT_EQ(AppContainerGroups, MissingAppContainerGrants(std::vector<AccessEntry> {}));
}
