#include "Cp1250.h"

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(Cp1250, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, PolishLettersMapBothWays) {
    const std::string polish = "Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ";
    const std::string bytes = Utf8ToCp1250(polish);
    EXPECT_EQ(bytes.size(), CodePointCount(polish));
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 0xBF); // ż
    EXPECT_EQ(static_cast<unsigned char>(Utf8ToCp1250("Ł")[0]), 0xA3);
    EXPECT_EQ(Cp1250ToUtf8(bytes), polish);
    EXPECT_EQ(Cp1250ToUtf8("\x80\x96"), "€–");
}

TEST(Cp1250, RejectsWhatTheCodePageCannotHold) {
    try {
        Utf8ToCp1250("abc 中");
        FAIL() << "no exception";
    } catch (const ECp1250Error& e) {
        EXPECT_EQ(e.offset(), 4u);
    }
    EXPECT_THROW(Utf8ToCp1250("ñ"), ECp1250Error);            // Spanish ñ is not in 1250
    EXPECT_THROW(Utf8ToCp1250("\xC5"), ECp1250Error);         // truncated sequence
    EXPECT_THROW(Utf8ToCp1250("\xC0\xAF"), ECp1250Error);     // overlong '/'
    EXPECT_THROW(Utf8ToCp1250("\xED\xA0\x80"), ECp1250Error); // surrogate
}

TEST(Cp1250, WritesTheReplacementForWhatTheCodePageCannotHold) {
    EXPECT_EQ(Utf8ToCp1250("Łódź 中 ñ", '?'), std::string("\xA3\xF3") + "d\x9F ? ?");
    // Each malformed byte on its own.
    EXPECT_EQ(Utf8ToCp1250(std::string("a\xC5") + "b\xC0\xAF", '?'), "a?b??");
    EXPECT_TRUE(InCp1250(U'ż'));
    EXPECT_FALSE(InCp1250(U'ñ'));
}

TEST(Cp1250Case, PolishLettersArePairsOfTheCodePage) {
    EXPECT_EQ(Cp1250UpperCase("zażółć gęślą jaźń"), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
    EXPECT_EQ(Cp1250LowerCase("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"), "zażółć gęślą jaźń");
    EXPECT_EQ(Cp1250UpperCase("šťžľŕăĺčďđňőřůűţ"), "ŠŤŽĽŔĂĹČĎĐŇŐŘŮŰŢ");
    EXPECT_EQ(Cp1250LowerCase("ŠŤŽĽŔĂĹČĎĐŇŐŘŮŰŢ"), "šťžľŕăĺčďđňőřůűţ");
}

TEST(Cp1250Case, WhatHasNoPartnerStays) {
    // ß has no upper case in the code page, ÷ and × are no letters, µ and the
    // dot above have no partner; characters outside the code page and broken
    // bytes pass through.
    EXPECT_EQ(Cp1250UpperCase("ß÷µ˙ 123 ñ 中 \xC5"), "ß÷µ˙ 123 ñ 中 \xC5");
    EXPECT_EQ(Cp1250LowerCase("×ß ÑX"), "×ß Ñx");
}
