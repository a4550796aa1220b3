#include "AtomicFile.h"

#include "Errors.h"
#include "FileLock.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kwizmar;

TEST(AtomicFile, ReplacesTheFileKeepingItsPermissions) {
    TScratch scratch;
    const auto file = scratch.Root() / "data.txt";
    WriteBytes(file, "old");
    chmod(file.c_str(), 0640);
    WriteFileAtomically(file, "new contents");
    EXPECT_EQ(ReadBytes(file), "new contents");
    struct stat st {};
    stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // no temporary file left behind
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(scratch.Root()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWhole) {
    TScratch scratch;
    const auto file = scratch.Root() / "data.txt";
    WriteBytes(file, "old contents");
    const std::string big(64 * 1024, 'x');
    WithFileSizeLimit(1024, [&] {
        try {
            WriteFileAtomically(file, big);
            ADD_FAILURE() << "no exception";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + file.string());
        }
    });
    EXPECT_EQ(ReadBytes(file), "old contents");
    EXPECT_THROW(WriteFileAtomically(scratch.Root() / "missing/data.txt", "x"), EFCreateError);
}

TEST(AtomicFile, ReadsWholeOrReportsWhatIsWrong) {
    TScratch scratch;
    std::string bytes = "untouched";
    EXPECT_FALSE(ReadWholeFile(scratch.Root() / "none", bytes));
    EXPECT_EQ(bytes, "untouched");
    EXPECT_THROW(ReadWholeFile(scratch.Root(), bytes), EFOpenError); // a folder
    WriteBytes(scratch.Root() / "f", std::string("a\0b", 3));
    ASSERT_TRUE(ReadWholeFile(scratch.Root() / "f", bytes));
    EXPECT_EQ(bytes, std::string("a\0b", 3));
}

TEST(FileLock, IsNotHeldWhereNoLockFileCanBeMade) {
    TScratch scratch;
    TFileLock held(scratch.Root() / "x.lock");
    EXPECT_TRUE(held.Held());
    TFileLock missing(scratch.Root() / "no/such/folder/x.lock");
    EXPECT_FALSE(missing.Held());
}
