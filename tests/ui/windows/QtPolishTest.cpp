// Qt's own words in Polish whatever the system's language, while the exam's
// dates and times keep to the system's regional settings.

#include "QtPolish.h"
#include "QtRegionalSettings.h"

#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace kwizmar;

TEST(QtPolish, StandardButtonsArePolishAndRegionalSettingsStayTheSystems) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Kwizmar 2002"), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().toStdString(), "&Tak");
    EXPECT_EQ(box.button(QMessageBox::No)->text().toStdString(), "&Nie");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().toStdString(), "Anuluj");

    // The plain C locale has no regional setting and reads as Polish anyway.
    if (QLocale::system().language() == QLocale::C)
        return;
    const TQtRegionalSettings regional;
    const QLocale system = QLocale::system();
    EXPECT_EQ(regional.ShortDateFormat(), system.dateFormat(QLocale::ShortFormat).toStdString());
    EXPECT_EQ(regional.LongTimeFormat(),
              WithoutTimeZone(system.timeFormat(QLocale::LongFormat).toStdString()));
}
