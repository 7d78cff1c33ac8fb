#include <gtest/gtest.h>

#include "app/instance_name.h"

TEST(InstanceName, OneLockPerExecutableWhateverTheCaseOfItsPath)
{
    std::string name = InstanceLockName("C:\\Games\\Star Catcher\\Star Catcher.exe");
    EXPECT_EQ(0u, name.find("Local\\Velmora-"));
    EXPECT_EQ(std::string("Local\\Velmora-").size() + 16, name.size());
    EXPECT_EQ(name, InstanceLockName("c:\\games\\STAR CATCHER\\star catcher.EXE"));
    EXPECT_NE(name, InstanceLockName("D:\\Games\\Star Catcher\\Star Catcher.exe"));
    EXPECT_NE(name, InstanceLockName("C:\\Games\\Star Catcher 2\\Star Catcher.exe"));
    EXPECT_EQ(std::string::npos, name.find('\\', 6)) << "no further backslash, which a lock name may not hold";
}
