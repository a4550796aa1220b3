#include "WholeFile.h"

#include "Errors.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(WholeFile, ReadsWholeOrReportsWhatIsWrong) {
    TScratch scratch;
    std::string bytes = "untouched";
    EXPECT_FALSE(ReadWholeFile(scratch.Root() / "none", bytes));
    EXPECT_EQ(bytes, "untouched");
    EXPECT_THROW(ReadWholeFile(scratch.Root(), bytes), EFOpenError); // a folder
    WriteBytes(scratch.Root() / "f", std::string("a\0b", 3));
    ASSERT_TRUE(ReadWholeFile(scratch.Root() / "f", bytes));
    EXPECT_EQ(bytes, std::string("a\0b", 3));
}
