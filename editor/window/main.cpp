#include "Accessibility.h"
#include "CommandLineInfo.h"
#include "CommandLineOutput.h"
#include "Edytor.h"
#include "EndSignals.h"
#include "ErrorHandler.h"
#include "FocusStyle.h"
#include "QtPolish.h"
#include "Registry.h"

#include <QApplication>


namespace {

constexpr const char* kUsage =
    "Użycie: kwizmar-edytor [TEST.ts2 | ŹRÓDŁO.txt]\n"
    "Edytor testów Kwizmar 2002: nowy test albo zmiana istniejącego (pliku .ts2 lub tekstu "
    "źródłowego).\n";

} // namespace

int main(int argc, char* argv[]) {
    if (const auto info =
            kwizmar::CommandLineInfo({argv + 1, argv + argc}, "kwizmar-edytor", kUsage)) {
        return kwizmar::PrintOnCommandLine(*info) ? 0 : 1;
    }
    // The editor reads the exam program's command line but for its options.
    const auto read = kwizmar::ReadExamArguments({argv + 1, argv + argc});
    std::string wrong;
    if (const auto* why = std::get_if<std::string>(&read))
        wrong = *why;
    else if (const auto& asked = std::get<kwizmar::TExamArguments>(read); asked.trial)
        wrong = "nieznana opcja --proba";
    else if (asked.results)
        wrong = "nieznana opcja --wyniki";
    if (!wrong.empty()) {
        kwizmar::PrintOnCommandLine("kwizmar-edytor: " + wrong + "\n" + kUsage,
                                    kwizmar::TCommandLineStream::Error);
        return 2;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Nerbaly"));
    QCoreApplication::setApplicationName(QStringLiteral("Kwizmar"));
    kwizmar::SpeakPolish();
    kwizmar::InstallAccessibility();
    kwizmar::UseProgramStyle();
    kwizmar::SetApplicationTitle(QStringLiteral("Edytor testów Kwizmar 2002"));

    kwizmar::TEdytor editor(kwizmar::PlatformRegistry());
    editor.ShowOnScreen();
    kwizmar::OnEndSignal([&editor] { editor.KeepAndEnd(); });
    // A test kept at the last end goes first; the one asked for waits.
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString file = args.value(args.value(0) == QLatin1String("--") ? 1 : 0);
    if (!editor.OfferRecovery() && !file.isEmpty())
        editor.OpenFile(file);
    return QApplication::exec();
}
