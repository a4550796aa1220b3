// Qt's own words in Polish whatever the system's language, while the exam's
// dates and times keep to the system's regional settings.

#include "QtPolish.h"
#include "QtRegionalSettings.h"

#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

using namespace kwizmar;

TEST(QtPolish, StandardButtonsArePolish) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kwizmar 2002"), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().toStdString(), "&Tak");
    EXPECT_EQ(box.button(QMessageBox::No)->text().toStdString(), "&Nie");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().toStdString(), "Anuluj");
}

TEST(QtPolish, RegionalSettingsStayTheSystems) {
    // The plain C locale has no regional setting and reads as Polish anyway.
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        GTEST_SKIP() << "the C locale has no regional settings; ctest runs this test under "
                        "LC_ALL=en_US.UTF-8 as well";
    struct TCase {
        const char* locale;
        const char* shortDate;
        const char* longTime; // without the time zone
    } cases[] = {
        {"en_US", "M/d/yy", "h:mm:ss AP"},
        {"en_GB", "dd/MM/yyyy", "HH:mm:ss"},
        {"pl_PL", "d.MM.yyyy", "HH:mm:ss"},
    };
    const std::string name = system.name().toStdString();
    const auto c = std::find_if(std::begin(cases), std::end(cases),
                                [&](const TCase& c) { return name == c.locale; });
    if (c == std::end(cases))
        GTEST_SKIP() << "no written-out formats for the locale " << name;
    const TQtRegionalSettings regional;
    EXPECT_EQ(regional.ShortDateFormat(), c->shortDate);
    EXPECT_EQ(regional.LongTimeFormat(), c->longTime);
}
