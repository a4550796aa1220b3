#include "ErrorHandler.h"

#include "Splash.h"

#include <QApplication>
#include <QMessageBox>

namespace kwizmar {

namespace {
QString& TitleStorage() {
    static QString title;
    return title;
}

std::function<void()>& AfterGuardedActions() {
    static std::function<void()> after;
    return after;
}
} // namespace

QString ApplicationTitle() {
    return TitleStorage();
}

void SetApplicationTitle(const QString& title) {
    TitleStorage() = title;
}

void ShowException(const std::exception& error) {
    TSplash::HideCurrent();
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
    if (const std::function<void()> after = AfterGuardedActions())
        after();
}

void SetAfterGuardedActions(std::function<void()> after) {
    AfterGuardedActions() = std::move(after);
}

} // namespace kwizmar
