#include "WholeFile.h"

#include "Errors.h"
#include "FileLock.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kwizmar;

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
