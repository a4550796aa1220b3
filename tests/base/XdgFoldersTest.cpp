#include "XdgFolders.h"

#include "Folders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace kwizmar;

TEST(XdgFolders, VariablesCountOnlyWhenTheyHoldAbsolutePaths) {
    TScratch scratch;
    EXPECT_EQ(XdgDataHome(), scratch.DataHome().string());
    EXPECT_EQ(XdgConfigHome(), scratch.ConfigHome().string());
    EXPECT_EQ(XdgFirstConfigDir(), scratch.ConfigDir().string());
    EXPECT_EQ(DefaultDataFolder(), (scratch.DataHome() / "Kwizmar").string());

    SetEnv("XDG_DATA_HOME", "relative/data");
    SetEnv("XDG_CONFIG_HOME", "");
    SetEnv("XDG_CONFIG_DIRS", "/first:/second");
    const std::string home = (scratch.Root() / "home").string();
    EXPECT_EQ(XdgDataHome(), home + "/.local/share");
    EXPECT_EQ(XdgConfigHome(), home + "/.config");
    EXPECT_EQ(XdgFirstConfigDir(), "/first");
    SetEnv("XDG_CONFIG_DIRS", "relative:/second");
    EXPECT_EQ(XdgFirstConfigDir(), "/etc/xdg");

    SetEnv("XDG_DATA_DIRS", "relative::/one:/two/");
    EXPECT_EQ(XdgDataDirs(), (std::vector<std::string>{"/one", "/two/"}));
    SetEnv("XDG_DATA_DIRS", "relative");
    EXPECT_EQ(XdgDataDirs(), (std::vector<std::string>{"/usr/local/share", "/usr/share"}));
}

TEST(XdgFolders, WithoutHomeTheUserDatabaseNamesTheHomeFolder) {
    TScratch scratch;
    UnsetEnv("XDG_DATA_HOME");
    UnsetEnv("XDG_CONFIG_HOME");
    const passwd* user = getpwuid(getuid());
    ASSERT_TRUE(user && user->pw_dir && user->pw_dir[0] == '/');
    const std::string home = user->pw_dir;
    for (const char* unusable : {"", "relative/home"}) {
        SetEnv("HOME", unusable);
        EXPECT_EQ(XdgConfigHome(), home + "/.config") << unusable;
        EXPECT_EQ(DefaultDataFolder(), home + "/.local/share/Kwizmar") << unusable;
    }
    UnsetEnv("HOME");
    EXPECT_EQ(XdgDataHome(), home + "/.local/share");
}
