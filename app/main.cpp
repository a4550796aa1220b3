#include "Kwizmar.h"
#include "QtPolish.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Nerbaly"));
    QCoreApplication::setApplicationName(QStringLiteral("Kwizmar"));
    // The desktop entry the program is started from, so that the desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kwizmar"));
    kwizmar::SpeakPolish();

    kwizmar::TKwizmar program(QCoreApplication::arguments());
    program.Show();
    return QApplication::exec();
}
