#pragma once

#include <QLCDNumber>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QSpinBox>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

// Small widgets of the main window that Qt has no exact equivalent for.

namespace kwizmar {

class TDirectStrip;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
// The red note "PRÓBA ..." of a trial run from the test editor, right-aligned
// in `geometry`, hidden until the window knows the exam is a trial.
QLabel* MakeTrialNote(QWidget* parent, const QRect& geometry);

// A label in large type with a drop shadow (the verdict and summary lines).
// A text wider than the label goes on as many lines as the label's height
// takes, broken between words (or inside a word too long for a line), and
// only where that isn't enough is it drawn in smaller type: a long
// double-barrelled name always shows whole.
class TShadowLabel final : public QLabel {
public:
    TShadowLabel(const char* name, QWidget* parent);
    void SetShadow(bool shadow) { shadow_ = shadow; }
    void SetShadowColour(const QColor& colour) { shadowColour_ = colour; }

    // What is drawn: the font made small enough, and the text's lines in it.
    QFont FittedFont() const;
    QStringList FittedLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect Room() const; // where the text may go

    bool shadow_ = true;
    QColor shadowColour_{0xA8, 0xA8, 0xA8};
};

// A label that reports mouse presses and moves (answer texts, banner, question
// lines), with the buttons held and the keyboard modifiers.
class TPressLabel final : public QLabel {
public:
    using TPressHandler = std::function<void(Qt::MouseButtons held)>;
    using TMoveHandler = std::function<void(Qt::KeyboardModifiers modifiers)>;
    using TClickHandler = std::function<void()>;

    TPressLabel(const char* name, QWidget* parent);
    // Draws nothing: its parent draws the text (the banner's strip), the
    // label only holds it and takes the mouse.
    void LeaveDrawingToParent() { drawn_ = false; }
    void OnPress(TPressHandler handler) { onPress_ = std::move(handler); }
    void OnMove(TMoveHandler handler) { onMove_ = std::move(handler); }
    void OnClick(TClickHandler handler) { onClick_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TPressHandler onPress_;
    TMoveHandler onMove_;
    TClickHandler onClick_;
    bool pressedLeft_ = false;
    bool drawn_ = true;
};

// The banner's strip: the two banner texts, each drawn once into a picture and
// then put at its place, and the strip's two dark ends over which the text
// comes in and goes out. A step of the banner comes 14 times a second for the
// whole exam: where the window system allows, the strip is put together and
// shown there (TDirectStrip), else it is one repaint of this one widget.
class TBannerStrip final : public QWidget {
public:
    static constexpr int kLeftEnd = 9; // width of the dark ends, in pixels
    static constexpr int kRightEnd = 12;

    TBannerStrip(const char* name, QWidget* parent);
    ~TBannerStrip() override;
    // The texts (UTF-8) and their left edges; draws only when something changed.
    void ShowBanner(const std::string& first, int firstX, const std::string& second, int secondX);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPixmap Picture(const QString& text) const;
    void MakePictures();
    bool DrawDirectly();

    std::string texts_[2];
    QColor background_;
    QPixmap pictures_[2];
    int x_[2] = {0, 0};
    std::unique_ptr<TDirectStrip> direct_;
};

// A gauge: a flat progress bar in one colour, its percentage drawn by itself
// (black or white over the bar, the window's text colour beside it), the
// same under every style.
class TGaugeBar final : public QProgressBar {
public:
    TGaugeBar(const char* name, const QColor& colour, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The exam-time field: any text of digits may be typed (the exam keeps it
// within its bounds once the entry is complete); the arrows step within the
// bounds.
class TTimeSpin final : public QSpinBox {
public:
    TTimeSpin(const char* name, QWidget* parent);
    // Shows `text` as typed, without reporting it as an edit.
    void ShowText(const QString& text);
    // The arrows step from the text as it stands (digits typed a moment ago
    // included), kept within the bounds.
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

// A two-digit counter of the exam clock (leading zero, no animation).
//
// The digits change once a second for the whole exam. They are drawn over a
// copy of what their parent paints beneath them, so that a new number repaints
// the two digits alone and not the whole box around them.
class TTwoDigits final : public QLCDNumber {
public:
    TTwoDigits(const char* name, QWidget* parent);
    void SetNumber(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ForgetUnderlay();

    QImage underlay_;
};

} // namespace kwizmar
