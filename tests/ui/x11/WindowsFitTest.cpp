// The windows beside the exam's on the screens schools have, each with a
// panel 30 pixels high along its top edge: 1366 × 768 at the desktop's scale
// of 1, 1920 × 1080 at 1.5 and at 2 (the desktop's Xft.dpi of 144 and 192),
// and 1366 × 768 with the desktop's text at 125 % where Qt rounds the scale
// to whole pixels (the type then grows, the pixels don't). The ctest entries
// WindowsFit.* set the screen and the scale; the window manager is openbox,
// whose frames the windows get.

#include "Fonts.h"
#include "OtherClient.h"
#include "PrivateDisplay.h"
#include "ProgramWindows.h"

#include <QAbstractScrollArea>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <optional>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class WindowsFitTest : public ProgramWindowsTest {
protected:
    void SetUp() override {
        if (!HavePrivateDisplay())
            GTEST_SKIP() << "Xvfb is not installed";
        panel_.emplace("dock");
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return QGuiApplication::primaryScreen()->availableGeometry().top() > 0; }, 5000));
    }

    std::optional<TOtherClient> panel_;
};

bool InScrollingPart(QWidget* control, QWidget* window) {
    for (QWidget* w = control->parentWidget(); w && w != window; w = w->parentWidget())
        if (qobject_cast<QAbstractScrollArea*>(w))
            return true;
    return false;
}

} // namespace

TEST_F(WindowsFitTest, EveryWindowWithItsFrameIsOnTheScreenAndShowsEachControl) {
    // The desktop's scale took: as larger pixels, or (where Qt rounds the
    // scale) partly as more of them to the inch, which the type follows.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (const QByteArray dpi = qgetenv("KWIZMAR_TEST_XFT_DPI"); !dpi.isEmpty()) {
        const double scale = dpi.toDouble() / 96;
        ASSERT_DOUBLE_EQ(screen->devicePixelRatio() * screen->logicalDotsPerInch() / 96, scale);
        EXPECT_EQ(QFontInfo(UiFont("MS Sans Serif", 12)).pixelSize(),
                  qRound(12 * screen->logicalDotsPerInch() / 96));
    }
    const QRect free = screen->availableGeometry();
    for (const char* name : WindowNames()) {
        SCOPED_TRACE(name);
        QWidget* window = Open(name);
        ASSERT_NE(window, nullptr);
        // Once the window manager has framed the window, and the window has
        // made room for the frame.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return window->frameGeometry() != window->geometry(); }, 5000));
        QTest::qWaitFor([&] { return free.contains(window->frameGeometry()); }, 2000);
        EXPECT_TRUE(free.contains(window->frameGeometry()))
            << "frame " << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
            << window->frameGeometry().width() << " x " << window->frameGeometry().height()
            << " on " << free.width() << " x " << free.height() << " from " << free.y();
        // Every control is in the window, or in a part of it that scrolls.
        for (QWidget* control : Controls(window)) {
            if (InScrollingPart(control, window))
                continue;
            const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
            EXPECT_TRUE(window->rect().contains(place)) << control->objectName().toStdString();
        }
        window->close();
    }
}
