// The text source that `kwizmar-ts2 pack` makes a test of.
#include "FuzzEntries.h"

#include "TestFixtures.h"
#include "TestSource.h"
#include "Ts2Tool.h"

namespace kwizmar::fuzz {

namespace {

// The source as unpacking gives it back: no byte-order mark, LF line ends.
std::string AsUnpacked(std::string_view source) {
    if (source.starts_with("\xEF\xBB\xBF"))
        source.remove_prefix(3);
    std::string out;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] == '\r') {
            out += '\n';
            if (i + 1 < source.size() && source[i + 1] == '\n')
                ++i;
        } else {
            out += source[i];
        }
    }
    return out;
}

} // namespace

void TestSourceEntry(std::string_view bytes) {
    std::string packed;
    try {
        packed = PackTestSource(bytes);
    } catch (const ETestSourceError&) {
        return; // the tool and the editor name the line and column to their user
    }
    Require(UnpackTestFile(packed) == AsUnpacked(bytes), "a packed source unpacks as written");
    const TCheckReport report = CheckTestFile("test.ts2", packed, testing::TFakeRegional());
    Require(report.rejection.empty() ==
                ValidateTest(TTestFile::FromStoredBytes(packed), testing::TFakeRegional()),
            "the check accepts what the loader accepts");
    TestFileEntry(packed);
}

} // namespace kwizmar::fuzz
