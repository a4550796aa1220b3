#include "TypedAnswer.h"

#include "Cp1250.h"

#include <gtest/gtest.h>

using namespace kwizmar;

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

namespace {

struct TMatchCase {
    const char* correct;
    const char* typed;
    bool right;
};

} // namespace

TEST(TypedAnswerMatches, CaseAndBlanksDontMatterEverythingElseDoes) {
    const TMatchCase cases[] = {
        {"Nowa Huta", "Nowa Huta", true},
        {"Nowa Huta", "nowa huta", true},
        {"Nowa Huta", "NOWAHUTA", true},
        {"Nowa Huta", "  Nowa  Huta ", true},
        {"Nowa Huta", "nOwA hUtA", true},
        {"Nowa Huta", "Nowa Huta.", false}, // full stop
        {"Nowa Huta", "Nowa\tHuta", false}, // tab is no blank
        {"Nowa Huta", "Nowa Wieś", false},
        {"Nowa Huta", "Nowa", false}, // no partial match
        {"Nowa Huta", "", false},     // empty field
        {"Łódź", "ŁÓDŹ", true},
        {"Łódź", "łódź", true},
        {"Łódź", "ł ó d ź", true},
        {"Łódź", "Lodz", false}, // diacritics count
        {"", "", true},
        {"   ", "", true}, // a correct text of blanks only
        {"", " ", true},
        {"Kraków.", "krakow.", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.correct) + " / " + c.typed);
        EXPECT_EQ(TypedAnswerMatches(c.correct, c.typed), c.right);
    }
}
