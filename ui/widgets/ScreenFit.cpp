#include "ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace kwizmar {

namespace {

// The room kept for a frame the window manager has not yet put round the
// window: a title bar and thin edges, in the screen's own pixels.
constexpr QMargins kUnknownFrame(8, 36, 8, 8);

QMargins FrameOf(const QWidget* window) {
    const QRect frame = window->frameGeometry(), client = window->geometry();
    if (!window->isVisible() || frame == client)
        return kUnknownFrame;
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

void Fit(QWidget* window, QSize wanted) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const QMargins frame = FrameOf(window);
    const QSize room(free.width() - frame.left() - frame.right(),
                     free.height() - frame.top() - frame.bottom());
    const QSize size =
        wanted.boundedTo(room).expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
    if (size != window->size())
        window->resize(size);
    // The frame's corner: the middle of the free area, but never above or
    // left of it.
    const QSize framed(size.width() + frame.left() + frame.right(),
                       size.height() + frame.top() + frame.bottom());
    const int x = free.left() + std::max(0, (free.width() - framed.width()) / 2);
    const int y = free.top() + std::max(0, (free.height() - framed.height()) / 2);
    window->move(x, y);
}

// Fits the window again when its real frame comes, once.
class TFrameWatch final : public QObject {
public:
    TFrameWatch(QWidget* window, QSize wanted) : QObject(window), wanted_(wanted) {
        window->installEventFilter(this);
        // A window manager that gives no frame moves nothing: the watch ends.
        QTimer::singleShot(5000, this, [this] { deleteLater(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            window->isVisible() && window->frameGeometry() != window->geometry()) {
            const QMargins frame = FrameOf(window);
            if (frame.top() > kUnknownFrame.top() || frame.left() > kUnknownFrame.left() ||
                frame.right() > kUnknownFrame.right() || frame.bottom() > kUnknownFrame.bottom()) {
                const QPointer<QWidget> alive(window);
                const QSize wanted = wanted_;
                QTimer::singleShot(0, window, [alive, wanted] {
                    if (alive)
                        Fit(alive, wanted);
                });
            }
            deleteLater();
            window->removeEventFilter(this);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QSize wanted_;
};

} // namespace

void PlaceOnScreen(QWidget* window, QSize wanted) {
    Fit(window, wanted);
    if (!window->isVisible())
        new TFrameWatch(window, wanted);
}

} // namespace kwizmar
