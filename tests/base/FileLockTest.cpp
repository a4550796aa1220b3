#include "FileLock.h"

#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(FileLock, IsNotHeldWhereNoLockFileCanBeMade) {
    TScratch scratch;
    TFileLock held(scratch.Root() / "x.lock");
    EXPECT_TRUE(held.Held());
    TFileLock missing(scratch.Root() / "no/such/folder/x.lock");
    EXPECT_FALSE(missing.Held());
}
