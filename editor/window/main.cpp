#include "Edytor.h"
#include "EndSignals.h"
#include "ErrorHandler.h"
#include "QtPolish.h"
#include "Registry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
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
