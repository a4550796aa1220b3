#include "ExamAdapters.h"

#include "ErrorHandler.h"
#include "Splash.h"

#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace kwizmar {

void TQtMessageBox::ShowMessage(const std::string& text) {
    TSplash::HideCurrent();
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    // A short text ("Nie wybrałeś testu !!!") would make the box too narrow
    // for its title beside the title bar's buttons: room for both.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 160;
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

TLocalDateTime TSystemClock::Now() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {TDate{date.year(), date.month(), date.day()},
            TTime{time.hour(), time.minute(), time.second()}};
}

} // namespace kwizmar
