#include "SpeedButton.h"

#include "FocusStyle.h"
#include "Fonts.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace kwizmar {

namespace {

// A caption this far from its background reads well (the usual measure of
// contrast between text and its background, 4.5:1); a dimmed one keeps a
// margin above it, since its letters' edges are blended into the ground.
constexpr double kReadable = 4.5;
constexpr double kDimmedReadable = 5.0;

// The caption colour the window asked for, or black or white where that one
// would not stand out from the ground.
QColor Readable(const QColor& wanted, const QColor& ground) {
    if (Contrast(wanted, ground) >= kReadable)
        return wanted;
    const QColor black(Qt::black), white(Qt::white);
    return Contrast(black, ground) >= Contrast(white, ground) ? black : white;
}

// A disabled caption: moved towards the ground as far as it stays readable.
QColor Dimmed(const QColor& caption, const QColor& ground) {
    for (int part = 6; part > 0; --part) { // tenths of the way to the ground
        const double t = part / 10.0;
        const QColor mixed = QColor::fromRgbF(
            static_cast<float>(caption.redF() + (ground.redF() - caption.redF()) * t),
            static_cast<float>(caption.greenF() + (ground.greenF() - caption.greenF()) * t),
            static_cast<float>(caption.blueF() + (ground.blueF() - caption.blueF()) * t));
        if (Contrast(mixed, ground) >= kDimmedReadable)
            return mixed;
    }
    return caption;
}

void Bevel(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

TSpeedButton::TSpeedButton(const char* objectName, const QString& caption, const QString& hint,
                           const QIcon& glyph, QWidget* parent)
    : QToolButton(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setText(caption);
    setToolTip(hint);
    setIcon(glyph);
    setIconSize(QSize(30, 30));
    setFont(UiFont("MS Sans Serif", 11));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true); // repainted as the pointer comes and goes
    setFocusPolicy(Qt::NoFocus);
}

void TSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor under = palette().color(QPalette::Window); // the parent's colour shows through
    const bool pressed = isEnabled() && (isDown() || isChecked());
    const bool raised = isEnabled() && !pressed && underMouse();
    // Under the pointer the face lights up a little, pressed it darkens: the
    // caption's colour is chosen against the face it is drawn on.
    const QColor face = pressed ? under.darker(112) : raised ? under.lighter(112) : under;
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    if (pressed || raised) {
        painter.fillRect(rect(), face);
        const QColor light = under.lighter(160), dark = under.darker(170);
        Bevel(painter, frame, pressed ? dark : light, pressed ? light : dark);
    }

    const QColor caption = Readable(palette().color(QPalette::ButtonText), face);
    const QFontMetrics metrics(font());
    const QSize glyph = iconSize();
    const int shift = pressed ? 1 : 0;
    const QRect inside = rect().adjusted(2 + shift, 2 + shift, -2 + shift, -2 + shift);
    const int top = inside.top() + (inside.height() - glyph.height() - 2 - metrics.height()) / 2;
    icon().paint(&painter,
                 QRect(inside.center().x() - glyph.width() / 2, top, glyph.width(), glyph.height()),
                 Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);

    QStyleOption option;
    option.initFrom(this);
    const int mnemonic = style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;
    painter.setFont(font());
    painter.setPen(isEnabled() ? caption : Dimmed(caption, face));
    painter.drawText(
        QRect(inside.left(), top + glyph.height() + 2, inside.width(), metrics.height()),
        Qt::AlignHCenter | Qt::AlignTop | mnemonic, text());
    // A button that takes the focus (in the newer windows, by Tab) shows it.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace kwizmar
