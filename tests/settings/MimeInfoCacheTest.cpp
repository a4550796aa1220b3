#include "MimeInfoCache.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

constexpr const char* kType = "application/x-kwizmar-test";
constexpr const char* kId = "kwizmar.desktop";

struct TCase {
    const char* name;
    const char* before;
    const char* after;
};

} // namespace

TEST(MimeInfoCache, ProgramGoesFirstOnTheTestTypesLineAndTheRestStays) {
    const TCase cases[] = {
        {"no cache yet", "", "[MIME Cache]\napplication/x-kwizmar-test=kwizmar.desktop;\n"},
        {"other types only",
         "[MIME Cache]\ntext/plain=gedit.desktop;\nimage/png=eog.desktop;\n\n[Other]\nk=v\n",
         "[MIME Cache]\ntext/plain=gedit.desktop;\nimage/png=eog.desktop;\n"
         "application/x-kwizmar-test=kwizmar.desktop;\n\n[Other]\nk=v\n"},
        {"another program for tests",
         "[MIME Cache]\napplication/x-kwizmar-test=edytor.desktop;kwizmar.desktop;\n",
         "[MIME Cache]\napplication/x-kwizmar-test=kwizmar.desktop;edytor.desktop;\n"},
        {"already first, no final line break",
         "[MIME Cache]\napplication/x-kwizmar-test=kwizmar.desktop;",
         "[MIME Cache]\napplication/x-kwizmar-test=kwizmar.desktop;\n"},
        {"the type's line in another group only",
         "# made by hand\n[Other]\napplication/x-kwizmar-test=x.desktop;",
         "# made by hand\n[Other]\napplication/x-kwizmar-test=x.desktop;\n\n[MIME Cache]\n"
         "application/x-kwizmar-test=kwizmar.desktop;\n"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MimeCacheWithHandler(c.before, kType, kId), c.after) << c.name;
}

TEST(MimeInfoCache, ProgramComesOffTheTestTypesLineAndTheRestStays) {
    const TCase cases[] = {
        {"the only program", "[MIME Cache]\napplication/x-kwizmar-test=kwizmar.desktop;\n",
         "[MIME Cache]\n"},
        {"one of two",
         "[MIME Cache]\ntext/plain=gedit.desktop;\n"
         "application/x-kwizmar-test=kwizmar.desktop;edytor.desktop;\n",
         "[MIME Cache]\ntext/plain=gedit.desktop;\napplication/x-kwizmar-test=edytor.desktop;\n"},
        {"not there", "[MIME Cache]\ntext/plain=kwizmar.desktop;",
         "[MIME Cache]\ntext/plain=kwizmar.desktop;"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(MimeCacheWithoutHandler(c.before, kType, kId), c.after) << c.name;
}
