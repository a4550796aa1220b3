#include "FileVersion.h"

#include "KwizmarVersion.h"
#include "Paths.h"
#include "Platform.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kwizmar;

// The test program carries the version resource the program does.
TEST(FileVersion, IsReadFromTheProgramsVersionResource) {
    EXPECT_EQ(FileVersionOf(ProgramFilePath()), kVersionText);
    EXPECT_EQ(ProgramFileVersion(), kVersionText);
}

TEST(FileVersion, AFileWithoutAVersionResourceHasNone) {
    kwizmar::testing::TTempDir dir;
    const std::string text = dir.Write("kwizmar.exe", "MZ not a program");
    const std::string missing = Utf8FromPath(dir.path() / "brak.exe");
    for (const std::string& file : {text, missing, std::string()})
        EXPECT_EQ(FileVersionOf(file), "") << file;
}
