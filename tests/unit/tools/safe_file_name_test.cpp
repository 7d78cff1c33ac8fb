#include <gtest/gtest.h>

#include "tools/velmora-tool/export/safe_file_name.h"

TEST(SafeExecutableName, ForbiddenCharactersTrailingDotsAndDeviceNames)
{
    EXPECT_EQ("My Game.exe", SafeExecutableName("My Game"));
    EXPECT_EQ("a_b_c_d_e_f_g_h_i_.exe", SafeExecutableName("a<b>c:d\"e/f\\g|h?i*"));
    EXPECT_EQ("tab_new_.exe", SafeExecutableName("tab\tnew\n"));
    EXPECT_EQ("Game.exe", SafeExecutableName("Game. . ."));
    for (const char* reserved : {"CON", "con", "Nul", "AUX", "PRN", "COM1", "lpt9"})
        EXPECT_EQ(std::string(reserved) + "_.exe", SafeExecutableName(reserved)) << reserved;
    EXPECT_EQ("nul_.txt.exe", SafeExecutableName("nul.txt"));
    EXPECT_EQ("COM10.exe", SafeExecutableName("COM10"));
    EXPECT_EQ("CONSOLE.exe", SafeExecutableName("CONSOLE"));
    EXPECT_EQ("Caf\xC3\xA9.exe", SafeExecutableName("Caf\xC3\xA9"));
}

TEST(SafeExecutableName, EmptyAndOverlongNames)
{
    EXPECT_EQ("app.exe", SafeExecutableName(""));
    EXPECT_EQ("app.exe", SafeExecutableName(" ..."));
    std::string accents;
    for (int i = 0; i < 150; ++i)
        accents += "\xC3\xA9";
    std::string made = SafeExecutableName(accents);
    EXPECT_EQ(200u + 4u, made.size());
    EXPECT_EQ(accents.substr(0, 200) + ".exe", made) << "cut between two characters";
    std::string odd = "x" + accents;
    EXPECT_EQ(odd.substr(0, 199) + ".exe", SafeExecutableName(odd)) << "never inside one";
}
