#include "Kwizmar.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Nerbaly"));
    QCoreApplication::setApplicationName(QStringLiteral("Kwizmar"));

    // The standard dialogs (file chooser, print dialog, message boxes) speak Polish.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslations);

    kwizmar::TKwizmar program(QCoreApplication::arguments());
    program.Show();
    return QApplication::exec();
}
