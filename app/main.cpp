#include "Egzamin.h"
#include "ErrorHandler.h"

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

    kwizmar::SetApplicationTitle(QStringLiteral("Kwizmar 2002"));

    kwizmar::TEgzamin window;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        window.SetCommandLineTest(arguments.at(1));
    window.show();
    return QApplication::exec();
}
