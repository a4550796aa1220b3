// The exam page's moving parts as they reach a real X server: the banner is
// drawn there directly and the clock's digits over a copy of their box, and
// both must look exactly as the window paints them whole.
#include "ExamWindowFixture.h"
#include "PrivateDisplay.h"

#include <QGuiApplication>
#include <QImage>
#include <QLCDNumber>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace kwizmar::testing {

namespace {

class ExamPageX11Test : public ExamWindowTest {
protected:
    void SetUp() override {
        if (!HavePrivateDisplay())
            GTEST_SKIP() << "Xvfb is not installed";
        StartOnSample();
        TypeName(QStringLiteral("Ola"));
        Button("SpeedButton3")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Shown("Strip"); }));
    }

    // Lets `timer` fire once more and stops it right after that step.
    void OneMoreStep(const char* timer) {
        auto* t = Find<QTimer>(timer);
        bool stepped = false;
        const auto stop = QObject::connect(t, &QTimer::timeout, t, [&] {
            t->stop();
            stepped = true;
        });
        t->start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return stepped; }, 3000)) << timer;
        QObject::disconnect(stop);
        QCoreApplication::processEvents(); // the repaints it asked for
    }

    // `area` of `widget` as the X server shows it, and as the window paints it.
    static QImage OnScreen(QWidget* widget, QRect area) {
        const QPoint at = widget->mapTo(widget->window(), area.topLeft());
        return QGuiApplication::primaryScreen()
            ->grabWindow(widget->window()->winId(), at.x(), at.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    static QImage AsPainted(QWidget* widget, QRect area) {
        return widget->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Counts the paint events `widget` gets.
    struct TPaints : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::Paint;
            return false;
        }
    };
};

} // namespace

TEST_F(ExamPageX11Test, TheBannerAndTheClockOnScreenAreAsTheWindowPaintsThem) {
    QWidget* strip = Find<QWidget>("Strip");
    QWidget* page = strip->parentWidget();
    QTest::qWait(300); // the first showing and a few steps of the banner
    TPaints paints;
    strip->installEventFilter(&paints);
    OneMoreStep("Timer1");
    EXPECT_EQ(paints.count, 0) << "the banner's steps are drawn on the X server";
    EXPECT_EQ(OnScreen(strip, strip->rect()), AsPainted(strip, strip->rect()));

    auto* digits = Find<QLCDNumber>("sekundy");
    QWidget* box = digits->parentWidget();
    OneMoreStep("Czas");
    EXPECT_EQ(OnScreen(box, box->rect()), AsPainted(box, box->rect()));
    // The same digits as a plain counter draws them over its box.
    QLCDNumber plain(2, box);
    plain.setSegmentStyle(digits->segmentStyle());
    plain.setFrameShape(digits->frameShape());
    plain.setGeometry(digits->geometry());
    plain.display(digits->intValue());
    digits->hide();
    plain.show();
    const QImage expected = AsPainted(box, digits->geometry());
    plain.hide();
    digits->show();
    EXPECT_EQ(AsPainted(box, digits->geometry()), expected);

    // Something over a part of the banner stays over it while the banner moves.
    QLabel cover(page);
    cover.setAutoFillBackground(true);
    cover.setPalette(QPalette(Qt::red));
    cover.setGeometry(strip->x() + 100, strip->y(), 80, strip->height());
    cover.show();
    OneMoreStep("Timer1");
    OneMoreStep("Timer1");
    EXPECT_EQ(OnScreen(page, strip->geometry()), AsPainted(page, strip->geometry()));
    EXPECT_EQ(OnScreen(&cover, cover.rect()).pixelColor(5, 5), QColor(Qt::red));
}

} // namespace kwizmar::testing
