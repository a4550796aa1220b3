#include "RightButtonHelp.h"

#include "AboutLogic.h"
#include "ContextHelp.h"
#include "HelpPanel.h"
#include "ProgramData.h"
#include "QtShellOpen.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcut>
#include <QUrl>
#include <QWidget>

namespace kwizmar {

TRightButtonHelp::TRightButtonHelp(QWidget* window, TLookup lookup)
    : QObject(window), window_(window), lookup_(std::move(lookup)), panel_(new THelpPanel(window)) {
    panel_->OnMouseMove([this] { panel_->hide(); });
    window_->installEventFilter(this);
}

void TRightButtonHelp::Watch(QWidget* control) {
    control->installEventFilter(this);
    for (QWidget* inner : control->findChildren<QWidget*>())
        inner->installEventFilter(this);
}

bool TRightButtonHelp::Show(QObject* watched, const QPoint& pointer) {
    // An inner widget (a date field's line edit) speaks for its field.
    const THelpEntry* entry = nullptr;
    for (QObject* o = watched; o && o != window_ && !entry; o = o->parent())
        entry = lookup_(o->objectName().toStdString());
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!entry || !widget || !widget->isEnabled())
        return false;
    panel_->SetLines(QString::fromUtf8(entry->H1), QString::fromUtf8(entry->H2),
                     QString::fromUtf8(entry->H3), window_->width() - 16);
    const QRect outer = window_->frameGeometry();
    const THelpPlacement place = PlaceHelpPanel(
        {pointer.x(), pointer.y()},
        {outer.x(), outer.y(), outer.width(), outer.height(), window_->width(), window_->height()},
        panel_->width(), panel_->height());
    panel_->move(place.left, place.top);
    panel_->raise();
    panel_->show();
    return true;
}

bool TRightButtonHelp::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The control's own menu, if any, doesn't come up as well.
        if ((static_cast<QMouseEvent*>(event)->buttons() & Qt::RightButton) && watched != window_ &&
            Show(watched, QCursor::pos()))
            return true;
        break;
    case QEvent::ContextMenu:
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
            watched != window_) {
            auto* control = static_cast<QWidget*>(watched);
            if (Show(watched, control->mapToGlobal(QPoint(0, control->height()))))
                return true;
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier &&
            watched != window_) {
            auto* control = static_cast<QWidget*>(watched);
            if (Show(watched, control->mapToGlobal(QPoint(0, control->height()))))
                return true;
        }
        if (panel_->isVisible())
            panel_->hide();
        break;
    }
    case QEvent::FocusOut:
        if (panel_->isVisible())
            panel_->hide();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

namespace {

// The system's opener of the help page, living as long as its window.
class THelpPage final : public QObject {
public:
    THelpPage(QWidget* window, const char* section)
        : QObject(window), window_(window), section_(QString::fromLatin1(section)) {}

    void Open() {
        const QString page = QFileInfo(QString::fromStdString(ProgramDataFolder()) +
                                       QStringLiteral("/help/trelvo2006.html"))
                                 .absoluteFilePath();
        const QString file = QDir::toNativeSeparators(page);
        if (!QFileInfo::exists(page)) {
            Tell(QStringLiteral("Nie znaleziono strony pomocy %1.").arg(file));
            return;
        }
        QUrl url = QUrl::fromLocalFile(page);
        url.setFragment(section_);
        QPointer<THelpPage> alive(this);
        shell_.Open(url.toString().toStdString(), TShowMode::Maximised, [alive, file] {
            if (alive)
                alive->Tell(QString::fromStdString(HelpPageNotOpened(file.toStdString())));
        });
    }

private:
    void Tell(const QString& text) { QMessageBox::warning(window_, window_->windowTitle(), text); }

    QWidget* window_;
    QString section_;
    TQtShellOpen shell_;
};

} // namespace

void HelpOnF1(QWidget* window, const char* section) {
    auto* page = new THelpPage(window, section);
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
    QObject::connect(key, &QShortcut::activated, page, [page] { page->Open(); });
}

} // namespace kwizmar
