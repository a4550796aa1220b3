#include "HelpPanel.h"

#include "Widgets.h"

#include <QEvent>

namespace kwizmar {

THelpPanel::THelpPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("HP"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette pale = palette();
    pale.setColor(QPalette::Window, QColor(255, 255, 223));
    pale.setColor(QPalette::WindowText, Qt::black);
    setPalette(pale);
    setMouseTracking(true);
    const char* names[] = {"H1", "H2", "H3"};
    for (std::size_t i = 0; i < 3; ++i) {
        H[i] = MakeLabel(this, names[i], QString(), QRect(2, 2 + 14 * static_cast<int>(i), 10, 14));
        H[i]->setMouseTracking(true);
        H[i]->installEventFilter(this);
    }
    hide();
}

void THelpPanel::SetLines(const QString& h1, const QString& h2, const QString& h3) {
    const QString texts[] = {h1, h2, h3};
    int width = 0;
    int bottom = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        QLabel* line = H[i];
        line->setText(texts[i]);
        line->adjustSize();
        line->resize(line->fontMetrics().horizontalAdvance(texts[i]), 14);
        line->setVisible(i < 2 || !texts[i].isEmpty());
        if (line->isVisibleTo(this)) {
            width = std::max(width, line->x() + line->width());
            bottom = line->y() + line->height();
        }
    }
    resize(width + 2, bottom + 2);
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
