#include "ProgramData.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kwizmar;
using kwizmar::testing::TTempDir;

TEST(ProgramData, BesideTheProgramFirstThenTheInstalledDataFolder) {
    TTempDir dir;
    const std::filesystem::path bin = dir.path() / "usr/bin";
    const std::filesystem::path installed = (bin / KWIZMAR_DATA_FROM_BIN).lexically_normal();
    const std::string program = (bin / "kwizmar").string();
    std::filesystem::create_directories(bin);

    // Nothing anywhere: beside the program, where an error names the file.
    EXPECT_EQ(ProgramDataFolder(program), bin.string());
    std::filesystem::create_directories(installed / "Testy");
    EXPECT_EQ(ProgramDataFolder(program), installed.string());
    // A build folder, or a copy with its data beside it, wins.
    for (const char* folder : {"help", "Testy"}) {
        std::filesystem::create_directories(bin / folder);
        EXPECT_EQ(ProgramDataFolder(program), bin.string()) << folder;
        std::filesystem::remove(bin / folder);
    }
}
