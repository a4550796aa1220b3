#include "Accessibility.h"
#include "CommandLineInfo.h"
#include "CommandLineOutput.h"
#include "FocusStyle.h"
#include "Kwizmar.h"
#include "LockdownRecord.h"
#include "QtPolish.h"

#include <QApplication>


namespace {

constexpr const char* kUsage =
    "Użycie: kwizmar [TEST.ts2]\n"
    "       kwizmar --proba TEST.ts2\n"
    "       kwizmar --wyniki\n"
    "Kwizmar 2002: egzamin z testu wyboru; z nazwą pliku testowego program zaczyna od tego "
    "testu.\n"
    "  --proba     próbny egzamin autora testu (z edytora): wynik nie trafia do dziennika\n"
    "              klasy, tylko do dziennika prób w folderze danych użytkownika\n"
    "  --wyniki    same wyniki egzaminów (okno statystyk) z dziennika, którego używa\n"
    "              program, bez egzaminu\n";

} // namespace

int main(int argc, char* argv[]) {
    // Answered before any window or setting is touched: asking for the version
    // counts no start of the program.
    if (const auto info = kwizmar::CommandLineInfo({argv + 1, argv + argc}, "kwizmar", kUsage)) {
        return kwizmar::PrintOnCommandLine(*info) ? 0 : 1;
    }
    const auto read = kwizmar::ReadExamArguments({argv + 1, argv + argc});
    if (const auto* wrong = std::get_if<std::string>(&read)) {
        kwizmar::PrintOnCommandLine("kwizmar: " + *wrong + "\n" + kUsage,
                                    kwizmar::TCommandLineStream::Error);
        return 2;
    }

    // A desktop and taskbar that a copy of the program ended abnormally left
    // locked are given back first.
    kwizmar::LiftLockdownLeftBehind();

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Nerbaly"));
    QCoreApplication::setApplicationName(QStringLiteral("Kwizmar"));
    // The desktop entry the program is started from, so that the desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kwizmar"));
    kwizmar::SpeakPolish();
    kwizmar::InstallAccessibility();
    kwizmar::UseProgramStyle();

    kwizmar::TKwizmar program(QCoreApplication::arguments());
    program.Show();
    return QApplication::exec();
}
