#include "ExamAdapters.h"

#include "ErrorHandler.h"
#include "ResultsLog.h"
#include "Settings.h"

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>

namespace kwizmar {

void TSettingsUserNameStore::StoreUserName(const std::string& name) {
    settings_.WriteUserName(name);
}

void TResultsLogAppender::AppendResultLine(const std::string& lineText) {
    log_.AppendResultLine(lineText);
}

void TQtMessageBox::ShowMessage(const std::string& text) {
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
