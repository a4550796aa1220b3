#include "StrToInt.h"

#include "Errors.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(StrToInt, AcceptsSignedDecimalsWithinThirtyTwoBits) {
    EXPECT_EQ(TryStrToInt("0"), 0);
    EXPECT_EQ(TryStrToInt("+12"), 12);
    EXPECT_EQ(TryStrToInt("-7"), -7);
    EXPECT_EQ(TryStrToInt("007"), 7);
    EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(TryStrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToInt, RejectsEverythingElse) {
    for (const char* bad : {"", "-", "+", " 5", "5 ", "5a", "1.5", "2147483648", "-2147483649",
                            "99999999999999999999", "0x10", "\xC2\xB3"})
        EXPECT_FALSE(TryStrToInt(bad)) << bad;
}

TEST(StrToInt, ThrowsThePlatformText) {
    try {
        StrToInt("dwa");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'dwa' is not a valid integer value");
    }
}
