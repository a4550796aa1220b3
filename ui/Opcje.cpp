#include "Opcje.h"

#include "ErrorHandler.h"
#include "Fonts.h"
#include "Glyphs.h"
#include "RightButtonHelp.h"
#include "ScopeExit.h"
#include "ScreenFit.h"
#include "SpeedButton.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

namespace kwizmar {

Topcje::Topcje(TOptionStates& states, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      logic_(states) {
    setObjectName(QStringLiteral("Topcje"));
    setWindowTitle(QStringLiteral("Nerbaly KWIZMAR 2002 - Opcje"));
    setFixedSize(407, 325);
    setFont(UiFont("MS Sans Serif", 11));

    // The options' controls in their order, as the table of options describes them.
    for (const TOptionSpec& spec : kOptions)
        for (const TOptionWidget& widget : spec.widgets) {
            if (!widget.name)
                continue;
            QAbstractButton* button = widget.radio
                                          ? static_cast<QAbstractButton*>(new QRadioButton(this))
                                          : static_cast<QAbstractButton*>(new QCheckBox(this));
            button->setObjectName(QString::fromLatin1(widget.name));
            button->setText(QString::fromUtf8(widget.caption));
            button->setProperty("hint", QString::fromUtf8(widget.hint));
            button->setToolTip(QString::fromUtf8(widget.hint));
            button->move(widget.x, widget.y);
            button->adjustSize();
            if (!controls_.empty())
                setTabOrder(controls_.back(), button);
            const std::string name = widget.name;
            connect(button, &QAbstractButton::clicked, this,
                    [this, name] { Act([&] { logic_.Click(name); }); });
            controls_.push_back(button);
        }
    auto* Label1 = new QLabel(QStringLiteral("Na czas trwania egzaminu:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 176);
    Label1->adjustSize();

    auto* Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 247, 391, 2);

    // Why some options can't be changed: the lab fixed them, or a strict
    // exam holds its lockdown.
    LabNote = new QLabel(this);
    LabNote->setObjectName(QStringLiteral("LabNote"));
    LabNote->setGeometry(16, 233, 383, 14);
    LabNote->setFont(UiFont("MS Sans Serif", 10));
    LabNote->hide();

    LockdownNote = new QLabel(this);
    LockdownNote->setObjectName(QStringLiteral("LockdownNote"));
    LockdownNote->setGeometry(40, 256, 270, 57);
    LockdownNote->setWordWrap(true);
    LockdownNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LockdownNote->hide();

    SpeedButton1 = new TSpeedButton("SpeedButton1", QStringLiteral("&OK"), QStringLiteral("OK"),
                                    Glyph(TGlyph::Check), this);
    SpeedButton1->setGeometry(320, 256, 73, 57);
    SpeedButton1->setFocusPolicy(Qt::StrongFocus); // the last stop of Tab

    connect(SpeedButton1, &QToolButton::clicked, this, &QWidget::close);
    HelpOnF1(this, "opcje");

    // Enter or Esc on any control closes the window before the control can
    // act on the key.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    installEventFilter(this);
    Render();
}

void Topcje::SetOption(TOption option, bool state) {
    const TScopeExit render(
        [this] { Render(); }); // the control shows its state even when the write fails
    logic_.SetOption(option, state);
}

void Topcje::ShowLockdownNote(const QString& note) {
    LockdownNote->setText(note);
    LockdownNote->setVisible(!note.isEmpty());
}

void Topcje::Act(const std::function<void()>& click) {
    RunGuarded(click);
    Render();
}

void Topcje::Render() {
    const TOpcjeView v = logic_.view();
    for (QAbstractButton* button : controls_) {
        const TOptionControl& control = v[button->objectName().toStdString()];
        const QSignalBlocker quiet(button);
        button->setChecked(control.checked);
        button->setEnabled(control.enabled);
        const QString hint = control.fixed ? QString::fromUtf8(kFixedByLabText)
                                           : button->property("hint").toString();
        if (button->toolTip() != hint)
            button->setToolTip(hint);
    }
    LabNote->setText(QString::fromStdString(v.note));
    LabNote->setVisible(!v.note.empty());
}

void Topcje::showEvent(QShowEvent* event) {
    Render(); // a strict exam may have begun or ended meanwhile
    PlaceOnScreen(this, size());
    QWidget::showEvent(event);
}

bool Topcje::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (event->type() == QEvent::KeyPress)
                close();
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kwizmar
