// The program on a computer with English regional settings. Qt takes the
// regional settings from the environment once per process, so ctest runs these
// tests in processes of their own under en_US.UTF-8 and en_GB.UTF-8; under any
// other setting they are skipped.
#include "ProgramFixture.h"
#include "QtRegionalSettings.h"
#include "TestLoader.h"

#include <QDir>
#include <QLocale>

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
    const std::string systemFormat = TQtRegionalSettings().ShortDateFormat();
    ASSERT_NE(systemFormat, kPolishShortDateFormat);
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
        EXPECT_EQ(Text("TSData").toStdString(), TTestFile::ReadFile(path.toStdString()).Line(3));
    }
}
