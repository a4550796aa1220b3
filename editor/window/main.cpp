#include "CommandLineInfo.h"
#include "Edytor.h"
#include "EndSignals.h"
#include "ErrorHandler.h"
#include "QtPolish.h"
#include "Registry.h"

#include <QApplication>

#include <iostream>

namespace {

constexpr const char* kUsage =
    "Użycie: kwizmar-edytor [TEST.ts2 | ŹRÓDŁO.txt]\n"
    "Edytor testów Kwizmar 2002: nowy test albo zmiana istniejącego (pliku .ts2 lub tekstu "
    "źródłowego).\n";

} // namespace

int main(int argc, char* argv[]) {
    if (const auto info =
            kwizmar::CommandLineInfo({argv + 1, argv + argc}, "kwizmar-edytor", kUsage)) {
        std::cout << *info << std::flush;
        return std::cout ? 0 : 1;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Nerbaly"));
    QCoreApplication::setApplicationName(QStringLiteral("Kwizmar"));
    kwizmar::SpeakPolish();
    kwizmar::SetApplicationTitle(QStringLiteral("Edytor testów Kwizmar 2002"));

    kwizmar::TEdytor editor(kwizmar::PlatformRegistry());
    editor.resize(1040, 760);
    editor.show();
    kwizmar::OnEndSignal([&editor] { editor.KeepAndEnd(); });
    // A test kept at the last end goes first; the one asked for waits.
    const QStringList args = QCoreApplication::arguments();
    if (!editor.OfferRecovery() && args.size() > 1)
        editor.OpenFile(args.at(1));
    return QApplication::exec();
}
