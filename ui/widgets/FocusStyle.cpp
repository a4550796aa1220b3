#include "FocusStyle.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace kwizmar {

namespace {

constexpr int kFrameWidth = 2;
constexpr const char* kAround = "kwizmarFocusAround";
// A quieter text keeps this much above the 4.5 of readable text: the edges
// of its letters are blended into the ground.
constexpr double kSubduedContrast = 5.0;

double Luminance(const QColor& colour) {
    auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

// A frame `width` pixels wide just inside `rect`.
void DrawFrame(QPainter* painter, const QRect& rect, const QColor& colour, int width) {
    width = std::max(1, std::min({width, rect.width() / 2, rect.height() / 2}));
    const QRect inner = rect.adjusted(width, width, -width, -width);
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), width), colour);
    painter->fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), colour);
    painter->fillRect(QRect(rect.left(), inner.top(), width, inner.height()), colour);
    painter->fillRect(QRect(rect.right() - width + 1, inner.top(), width, inner.height()), colour);
}

const QFocusFrame* FocusFrameOf(const QStyleOption* option, const QWidget* widget) {
    if (const auto* frame = qobject_cast<const QFocusFrame*>(widget))
        return frame;
    return option ? qobject_cast<const QFocusFrame*>(option->styleObject) : nullptr;
}

bool FramedAround(const QWidget* control) {
    return control && control->property(kAround).toBool();
}

class TFocusStyle final : public QProxyStyle {
public:
    explicit TFocusStyle(QStyle* system) : QProxyStyle(system) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameFocusRect)
            return QProxyStyle::drawPrimitive(element, option, painter, widget);
        // The system's style waits for a key before it shows the focus, and
        // then draws it faintly.
        QColor ground = option->palette.color(QPalette::Window);
        if (const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option);
            focus && focus->backgroundColor.isValid())
            ground = focus->backgroundColor;
        DrawFrame(painter, option->rect, StandingOut(ground), kFrameWidth);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButton) {
            // The system's style marks a push button's focus only by its
            // outline's colour, after a key.
            QProxyStyle::drawControl(element, option, painter, widget);
            if (option->state & State_HasFocus) {
                QStyleOptionFocusRect focus;
                focus.QStyleOption::operator=(*option);
                focus.rect = subElementRect(SE_PushButtonFocusRect, option, widget);
                drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
            }
            return;
        }
        if (element != CE_FocusFrame)
            return QProxyStyle::drawControl(element, option, painter, widget);
        // On a field's or a list's edge: it stands out from the window
        // around it and from the field's own ground inside.
        const QColor window = option->palette.color(QPalette::Window);
        const QColor base = option->palette.color(QPalette::Base);
        const QColor black(Qt::black), white(Qt::white);
        const QColor colour = std::min(Contrast(black, window), Contrast(black, base)) >=
                                      std::min(Contrast(white, window), Contrast(white, base))
                                  ? black
                                  : white;
        DrawFrame(painter, option->rect, colour, kFrameWidth);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* tool = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        if (control != CC_ToolButton || !tool || !(tool->state & State_HasFocus))
            return QProxyStyle::drawComplexControl(control, option, painter, widget);
        // On the button's edge: inside it, the picture would cover the frame.
        QStyleOptionToolButton unfocused = *tool;
        unfocused.state &= ~State_HasFocus;
        QProxyStyle::drawComplexControl(control, &unfocused, painter, widget);
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(*option);
        drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        // The frame lies on the control's own edge, not around it: it takes
        // no room from the controls beside it and is never cut off by the
        // control's parent; around those that fill themselves to the edge.
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            if (const QFocusFrame* frame = FocusFrameOf(option, widget))
                return FramedAround(frame->widget()) ? kFrameWidth : 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_FocusFrame_AboveWidget)
            return 1;
        if (hint == SH_FocusFrame_Mask && option) {
            if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(returned)) {
                const QRect outer = option->rect;
                mask->region = QRegion(outer) - QRegion(outer.adjusted(kFrameWidth, kFrameWidth,
                                                                       -kFrameWidth, -kFrameWidth));
                return 1;
            }
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// Whether the control shows its focus by itself (through the style's focus
// frame, drawn above), or is given the frame on its edge.
bool ShowsFocusItself(const QWidget* widget) {
    if (FramedAround(widget))
        return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QTabBar*>(widget) ||
           qobject_cast<const QMenuBar*>(widget) || qobject_cast<const QMenu*>(widget);
}

// The control the frame goes round: a spin box's or a drop-down list's own
// line takes the focus for the whole control.
QWidget* FramedControl(QWidget* focused) {
    if (!focused || focused->isWindow() || !focused->parentWidget())
        return nullptr;
    if (qobject_cast<QLineEdit*>(focused)) {
        QWidget* parent = focused->parentWidget();
        if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent))
            focused = parent;
    }
    if (ShowsFocusItself(focused) || focused->isWindow() || !focused->parentWidget())
        return nullptr;
    return focused;
}

// The one frame on the focused control's edge; it follows the focus from
// window to window.
class TFocusFrameKeeper final : public QObject {
public:
    explicit TFocusFrameKeeper(QApplication* app) : QObject(app) {
        connect(app, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { Follow(now); });
    }

private:
    void Follow(QWidget* focused) {
        QWidget* control = FramedControl(focused);
        if (!control) {
            if (frame_)
                frame_->setWidget(nullptr);
            return;
        }
        // The frame is a child of the control's parent, and goes with it.
        if (!frame_)
            frame_ = new QFocusFrame(control);
        frame_->setWidget(control);
    }

    QPointer<QFocusFrame> frame_;
};

} // namespace

void FrameFocusAround(QWidget* control) {
    control->setProperty(kAround, true);
}

void UseProgramStyle() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    // Over the style the system chose (or the one asked for by -style).
    QApplication::setStyle(new TFocusStyle(QStyleFactory::create(QApplication::style()->name())));
    new TFocusFrameKeeper(app);
    // The hint in an empty field is text to read, not a shade of the field.
    QPalette palette = QApplication::palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(
            group, QPalette::PlaceholderText,
            Subdued(palette.color(group, QPalette::Text), palette.color(group, QPalette::Base)));
    QApplication::setPalette(palette);
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor StandingOut(const QColor& ground) {
    const QColor black(Qt::black), white(Qt::white);
    return Contrast(black, ground) >= Contrast(white, ground) ? black : white;
}

QColor Subdued(const QColor& text, const QColor& ground) {
    QColor quieter = text;
    for (int part = 1; part <= 20; ++part) { // twentieths of the way to the ground
        const float t = float(part) / 20.0f;
        const QColor mixed = QColor::fromRgbF(text.redF() + (ground.redF() - text.redF()) * t,
                                              text.greenF() + (ground.greenF() - text.greenF()) * t,
                                              text.blueF() + (ground.blueF() - text.blueF()) * t);
        if (Contrast(mixed, ground) < kSubduedContrast)
            break;
        quieter = mixed;
    }
    return quieter;
}

} // namespace kwizmar
