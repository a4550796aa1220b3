// The program on a computer with English regional settings. Qt takes the
// regional settings from the environment once per process, so ctest runs these
// tests in processes of their own under en_US.UTF-8 and en_GB.UTF-8; under any
// other setting they are skipped.
#include "ProgramFixture.h"
#include "QtRegionalSettings.h"
#include "TestLoader.h"

#include <QDir>
#include <QLocale>

#include <map>
#include <string>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class EnglishLocaleTest : public ProgramTest {
protected:
    void SetUp() override {
        if (QLocale::system().language() != QLocale::English)
            GTEST_SKIP() << "runs under LC_ALL=en_US.UTF-8 or en_GB.UTF-8, as ctest runs it";
    }
};

} // namespace

TEST_F(EnglishLocaleTest, EveryShippedSampleTestLoads) {
    // The system's short date format under each setting ctest runs these tests with.
    const std::map<std::string, std::string> shortDateFormats = {
        {"en_US", "M/d/yy"},
        {"en_GB", "dd/MM/yyyy"},
    };
    // The date each sample was made, as its file writes it: the box shows it so
    // whatever the system's format.
    const std::map<std::string, std::string> created = {
        {"biologia.ts2", "08.12.2026"},   {"geografia.ts2", "08.12.2026"},
        {"historia.ts2", "08.12.2026"},   {"jezyk_polski.ts2", "08.12.2026"},
        {"matematyka.ts2", "08.12.2026"}, {"wiedza.ts2", "08.12.2026"},
    };
    const std::string systemFormat = TQtRegionalSettings().ShortDateFormat();
    ASSERT_NE(systemFormat, kPolishShortDateFormat);
    const std::string locale = QLocale::system().name().toStdString();
    ASSERT_EQ(shortDateFormats.count(locale), 1u) << locale;
    EXPECT_EQ(systemFormat, shortDateFormats.at(locale));
    const QDir folder(TEgzamin::TestFolder());
    const QStringList samples = folder.entryList({QStringLiteral("*.ts2")}, QDir::Files);
    ASSERT_GE(samples.size(), 2);
    Start();
    for (const QString& name : samples) {
        SCOPED_TRACE(name.toStdString() + " with the system's format " + systemFormat);
        const QString path = folder.filePath(name);
        Window().LoadTest(path);
        EXPECT_NE(Text("Linia1").toStdString(), kRejectedTestText);
        EXPECT_TRUE(Button("SpeedButton3")->isVisible());
        ASSERT_EQ(created.count(name.toStdString()), 1u) << "a sample with no date written here";
        EXPECT_EQ(Text("TSData").toStdString(), created.at(name.toStdString()));
    }
}
