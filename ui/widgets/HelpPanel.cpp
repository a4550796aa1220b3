#include "HelpPanel.h"

#include "Fonts.h"
#include "Widgets.h"

#include <QEvent>

namespace kwizmar {

namespace {
constexpr int kMargin = 2;
constexpr int kLineHeight = 14;
} // namespace

THelpPanel::THelpPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("HP"));
    setFont(UiFont("MS Sans Serif", 11)); // the window's own small type
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette pale = palette();
    pale.setColor(QPalette::Window, QColor(255, 255, 223));
    pale.setColor(QPalette::WindowText, Qt::black);
    setPalette(pale);
    setMouseTracking(true);
    const char* names[] = {"H1", "H2", "H3"};
    for (std::size_t i = 0; i < 3; ++i) {
        H[i] = MakeLabel(this, names[i], QString(),
                         QRect(kMargin, kMargin + kLineHeight * static_cast<int>(i), 10, 14));
        H[i]->setWordWrap(true);
        H[i]->setMouseTracking(true);
        H[i]->installEventFilter(this);
    }
    hide();
}

void THelpPanel::SetLines(const QString& h1, const QString& h2, const QString& h3, int maxWidth) {
    const QString texts[] = {h1, h2, h3};
    const int room = std::max(1, maxWidth - 2 * kMargin);
    int width = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        H[i]->setText(texts[i]);
        H[i]->setVisible(i < 2 || !texts[i].isEmpty());
        if (H[i]->isVisibleTo(this))
            width = std::max(width,
                             std::min(room, H[i]->fontMetrics().horizontalAdvance(texts[i]) + 1));
    }
    int bottom = kMargin;
    for (QLabel* line : H) {
        if (!line->isVisibleTo(this))
            continue;
        const int height = std::max(kLineHeight, line->heightForWidth(width));
        line->setGeometry(kMargin, bottom, width, height);
        bottom += height;
    }
    resize(width + 2 * kMargin, bottom + kMargin);
}

bool THelpPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && onMove_)
        onMove_();
    return QFrame::eventFilter(watched, event);
}

void THelpPanel::mouseMoveEvent(QMouseEvent* event) {
    if (onMove_)
        onMove_();
    QFrame::mouseMoveEvent(event);
}

} // namespace kwizmar
