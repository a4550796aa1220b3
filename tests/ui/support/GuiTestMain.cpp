#include "Accessibility.h"
#include "ErrorHandler.h"
#include "FocusStyle.h"
#include "QtPolish.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Without a display the windows are drawn off screen.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The file dialogs are Qt's own, whose fields a test can fill: on Windows
    // the program shows the system's dialog, which a test can't reach.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    // Qt's dialogs speak as they do in the program.
    kwizmar::SpeakPolish();
    kwizmar::InstallAccessibility();
    // The look the programs have, their focus frames included.
    kwizmar::UseProgramStyle();
    kwizmar::SetApplicationTitle(QStringLiteral("Kwizmar 2002"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
