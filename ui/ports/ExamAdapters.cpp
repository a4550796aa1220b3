#include "ExamAdapters.h"

#include "ErrorHandler.h"
#include "Splash.h"

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>

namespace kwizmar {

void TQtMessageBox::ShowMessage(const std::string& text) {
    TSplash::HideCurrent();
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
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
