#include "TypedAnswer.h"

#include <gtest/gtest.h>

using namespace kwizmar;

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
