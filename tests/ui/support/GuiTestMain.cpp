#include "ErrorHandler.h"
#include "QtPolish.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Without a display the windows are drawn off screen.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Qt's dialogs speak as they do in the program.
    kwizmar::SpeakPolish();
    kwizmar::SetApplicationTitle(QStringLiteral("Kwizmar 2002"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
