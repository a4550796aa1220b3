#include "ErrorHandler.h"

#include <QApplication>
#include <QMessageBox>

namespace kwizmar {

namespace {
QString& TitleStorage() {
    static QString title;
    return title;
}
} // namespace

QString ApplicationTitle() {
    return TitleStorage();
}

void SetApplicationTitle(const QString& title) {
    TitleStorage() = title;
}

void ShowException(const std::exception& error) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), QString::fromUtf8(error.what()),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

void RunGuarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

} // namespace kwizmar
