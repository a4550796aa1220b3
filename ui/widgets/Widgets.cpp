#include "Widgets.h"

#include "DirectStrip.h"
#include "ExamClock.h"
#include "FocusStyle.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QTextLayout>

#include <algorithm>

namespace kwizmar {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    return label;
}

QLabel* MakeTrialNote(QWidget* parent, const QRect& geometry) {
    QLabel* note = MakeLabel(
        parent, "Proba", QStringLiteral(" PRÓBA – wynik nie trafia do dziennika klasy "), geometry);
    note->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    QPalette red = note->palette();
    red.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    note->setPalette(red);
    note->setToolTip(QStringLiteral("Egzamin próbny z edytora testów: jego wynik zapisuje się "
                                    "w dzienniku prób, a nie w dzienniku klasy"));
    note->hide();
    return note;
}

TShadowLabel::TShadowLabel(const char* name, QWidget* parent) : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
}

namespace {

// The smallest type a line is drawn in, however long its text.
constexpr int kSmallestPixels = 6;

// `text` broken into lines of at most `width` pixels: between words, or
// anywhere in a word longer than a line.
QStringList WrapText(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString part = text.mid(line.textStart(), line.textLength());
        while (part.endsWith(u' ')) // the space at a break goes with the break
            part.chop(1);
        lines.append(part);
    }
    layout.endLayout();
    return lines;
}

struct TFitted {
    QFont font;
    QStringList lines;
};

// The largest type, from the label's own down, in which the whole text fits
// the room, on one line or on several.
TFitted Fit(const QString& text, const QFont& font, const QRect& room) {
    TFitted fitted{font, {text}};
    if (text.isEmpty())
        return fitted;
    const int from = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    for (int pixels = from; pixels >= kSmallestPixels; --pixels) {
        fitted.font.setPixelSize(pixels);
        const QFontMetrics metrics(fitted.font);
        if (metrics.horizontalAdvance(text) <= room.width()) {
            fitted.lines = QStringList{text};
            return fitted;
        }
        fitted.lines = WrapText(text, fitted.font, room.width());
        const QRect block = metrics.boundingRect(room, Qt::AlignCenter, fitted.lines.join('\n'));
        if (block.height() <= room.height())
            return fitted;
    }
    return fitted; // the smallest type, its lines as far as the label reaches
}

} // namespace

QRect TShadowLabel::Room() const {
    // The shadow lies 2 pixels to the right and below.
    return shadow_ ? contentsRect().adjusted(0, 0, -2, -2) : contentsRect();
}

QFont TShadowLabel::FittedFont() const {
    return Fit(text(), font(), Room()).font;
}

QStringList TShadowLabel::FittedLines() const {
    return Fit(text(), font(), Room()).lines;
}

void TShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TFitted fitted = Fit(text(), font(), Room());
    painter.setFont(fitted.font);
    const QString shown = fitted.lines.join('\n');
    const QRect area = Room();
    const int flags = static_cast<int>(alignment());
    if (shadow_) {
        painter.setPen(shadowColour_);
        painter.drawText(area.translated(2, 2), flags, shown);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, flags, shown);
}

TPressLabel::TPressLabel(const char* name, QWidget* parent) : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
}

void TPressLabel::mousePressEvent(QMouseEvent* event) {
    pressedLeft_ = event->button() == Qt::LeftButton;
    if (onPress_)
        onPress_(event->buttons());
    QLabel::mousePressEvent(event);
}

void TPressLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressedLeft_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressedLeft_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click && onClick_)
        onClick_();
}

void TPressLabel::mouseMoveEvent(QMouseEvent* event) {
    if (onMove_)
        onMove_(event->modifiers());
    QLabel::mouseMoveEvent(event);
}

void TPressLabel::paintEvent(QPaintEvent* event) {
    if (drawn_)
        QLabel::paintEvent(event);
}

namespace {

constexpr QRgb kEndsColour = 0xFF000050; // the strip's dark ends

} // namespace

TBannerStrip::TBannerStrip(const char* name, QWidget* parent)
    : QWidget(parent), direct_(std::make_unique<TDirectStrip>(*this)) {
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_OpaquePaintEvent);
    MakePictures();
}

TBannerStrip::~TBannerStrip() = default;

QPixmap TBannerStrip::Picture(const QString& text) const {
    const QFontMetrics metrics(font());
    QPixmap picture(std::max(1, metrics.horizontalAdvance(text)), metrics.height());
    picture.fill(palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(picture.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
    return picture;
}

void TBannerStrip::MakePictures() {
    background_ = palette().color(QPalette::Window);
    for (int i = 0; i < 2; ++i) {
        const QString text = QString::fromStdString(texts_[i]);
        pictures_[i] = Picture(text);
        direct_->SetPicture(i, text.isEmpty() ? QImage() : pictures_[i].toImage());
    }
}

void TBannerStrip::ShowBanner(const std::string& first, int firstX, const std::string& second,
                              int secondX) {
    const int xs[] = {firstX, secondX};
    bool changed = false;
    if (first != texts_[0] || second != texts_[1]) {
        texts_[0] = first;
        texts_[1] = second;
        MakePictures();
        changed = true;
    }
    for (int i = 0; i < 2; ++i) {
        changed = changed || xs[i] != x_[i];
        x_[i] = xs[i];
    }
    if (changed && !DrawDirectly())
        update();
}

void TBannerStrip::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        MakePictures();
        update();
    }
    QWidget::changeEvent(event);
}

bool TBannerStrip::DrawDirectly() {
    const QRect ends[] = {QRect(0, 0, kLeftEnd, height()),
                          QRect(width() - kRightEnd, 0, kRightEnd, height())};
    return direct_->Draw(background_, x_, 2, ends, QColor(kEndsColour));
}

void TBannerStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    for (int i = 0; i < 2; ++i)
        if (!pictures_[i].isNull())
            painter.drawPixmap(x_[i], 2, pictures_[i]);
    painter.fillRect(QRect(0, 0, kLeftEnd, height()), QColor(kEndsColour));
    painter.fillRect(QRect(width() - kRightEnd, 0, kRightEnd, height()), QColor(kEndsColour));
}

TGaugeBar::TGaugeBar(const char* name, const QColor& colour, QWidget* parent)
    : QProgressBar(parent) {
    setObjectName(QString::fromLatin1(name));
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    setFormat(QStringLiteral("%p%"));
    QPalette gauge = palette();
    gauge.setColor(QPalette::Highlight, colour);
    // The percentage over the bar in black or white, whichever reads on it.
    gauge.setColor(QPalette::HighlightedText, StandingOut(colour));
    setPalette(gauge);
    // Small type drawn without smoothing, so that its strokes are the full
    // black or white however the system smooths (Windows greys them).
    QFont small(font().family(), 7);
    small.setStyleStrategy(QFont::NoAntialias);
    setFont(small);
}

void TGaugeBar::paintEvent(QPaintEvent*) {
    // Drawn whole by the gauge: the styles draw a bar in colours of their own
    // (Windows' themes), and some the text beside it.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int span = std::max(1, maximum() - minimum());
    const QRect bar(
        inner.left(), inner.top(),
        int(qint64(inner.width()) * (std::clamp(value(), minimum(), maximum()) - minimum()) / span),
        inner.height());
    painter.fillRect(bar, palette().color(QPalette::Highlight));
    const QString percentage = text();
    if (percentage.isEmpty())
        return;
    painter.setFont(font());
    for (const bool onTheBar : {true, false}) {
        painter.setClipRect(onTheBar ? bar : QRect(bar.right() + 1, 0, width(), height()));
        painter.setPen(palette().color(onTheBar ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, percentage);
    }
}

TTimeSpin::TTimeSpin(const char* name, QWidget* parent) : QSpinBox(parent) {
    setObjectName(QString::fromLatin1(name));
    setRange(kMinExamMinutes, kMaxExamMinutes);
    setSingleStep(kExamMinutesStep);
    setValue(kDefaultExamMinutes);
    lineEdit()->setMaxLength(10);
    // Typed digits become the value when the entry is complete, not at each key.
    setKeyboardTracking(false);
}

void TTimeSpin::ShowText(const QString& text) {
    const QSignalBlocker quiet(this);
    setValue(valueFromText(text));
    lineEdit()->setText(text);
}

void TTimeSpin::stepBy(int steps) {
    const int next = qBound(minimum(), valueFromText(text()) + steps * singleStep(), maximum());
    if (next != value()) {
        setValue(next);
        return;
    }
    // Typed "5" over a value of 7: the arrow up brings back 7, which is no
    // change of the value, but is one of the text.
    lineEdit()->setText(textFromValue(next));
    emit valueChanged(next);
}

QAbstractSpinBox::StepEnabled TTimeSpin::stepEnabled() const {
    const int current = valueFromText(text());
    StepEnabled enabled = StepNone;
    if (current < maximum())
        enabled |= StepUpEnabled;
    if (current > minimum())
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State TTimeSpin::validate(QString& input, int&) const {
    for (int i = 0; i < input.size(); ++i)
        if (!input.at(i).isDigit() && !(i == 0 && (input.at(i) == u'-' || input.at(i) == u'+')))
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

int TTimeSpin::valueFromText(const QString& text) const {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? qBound(minimum(), value, maximum()) : minimum();
}

TTwoDigits::TTwoDigits(const char* name, QWidget* parent) : QLCDNumber(2, parent) {
    setObjectName(QString::fromLatin1(name));
    setSegmentStyle(QLCDNumber::Flat);
    setFrameShape(QFrame::Box);
    SetNumber(0);
}

void TTwoDigits::SetNumber(int value) {
    // Taken outside any painting, once the parent is on screen as it looks.
    if (underlay_.isNull() && isVisible() && parentWidget()) {
        const qreal ratio = devicePixelRatio();
        underlay_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        underlay_.setDevicePixelRatio(ratio);
        underlay_.fill(Qt::transparent);
        parentWidget()->render(&underlay_, QPoint(), QRegion(geometry()),
                               QWidget::DrawWindowBackground);
        setAttribute(Qt::WA_OpaquePaintEvent, true);
    }
    display(QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')));
}

void TTwoDigits::ForgetUnderlay() {
    underlay_ = QImage();
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TTwoDigits::paintEvent(QPaintEvent* event) {
    if (!underlay_.isNull())
        QPainter(this).drawImage(0, 0, underlay_);
    QLCDNumber::paintEvent(event);
}

void TTwoDigits::changeEvent(QEvent* event) {
    // Whatever may change how the parent looks beneath the digits.
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::ActivationChange:
    case QEvent::ParentChange:
        ForgetUnderlay();
        break;
    default:
        break;
    }
    QLCDNumber::changeEvent(event);
}

void TTwoDigits::moveEvent(QMoveEvent* event) {
    ForgetUnderlay();
    QLCDNumber::moveEvent(event);
}

void TTwoDigits::resizeEvent(QResizeEvent* event) {
    ForgetUnderlay();
    QLCDNumber::resizeEvent(event);
}

} // namespace kwizmar
