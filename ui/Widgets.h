#pragma once

#include <QLCDNumber>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>

#include <functional>

// Small widgets of the main window that Qt has no exact equivalent for.

namespace kwizmar {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);

// A label in large type with a drop shadow (the verdict and summary lines).
class TShadowLabel final : public QLabel {
public:
    TShadowLabel(const char* name, QWidget* parent);
    void SetShadow(bool shadow) { shadow_ = shadow; }
    void SetShadowColour(const QColor& colour) { shadowColour_ = colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
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
    void OnPress(TPressHandler handler) { onPress_ = std::move(handler); }
    void OnMove(TMoveHandler handler) { onMove_ = std::move(handler); }
    void OnClick(TClickHandler handler) { onClick_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TPressHandler onPress_;
    TMoveHandler onMove_;
    TClickHandler onClick_;
    bool pressedLeft_ = false;
};

// A gauge: a flat progress bar in one colour.
class TGaugeBar final : public QProgressBar {
public:
    TGaugeBar(const char* name, const QColor& colour, QWidget* parent);
};

// The exam-time field: any text of digits may be typed (the exam keeps it
// within its bounds as it changes); the arrows step within the bounds.
class TTimeSpin final : public QSpinBox {
public:
    TTimeSpin(const char* name, QWidget* parent);
    // Shows `text` as typed, without reporting it as an edit.
    void ShowText(const QString& text);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
};

// A two-digit counter of the exam clock (leading zero, no animation).
class TTwoDigits final : public QLCDNumber {
public:
    TTwoDigits(const char* name, QWidget* parent);
    void SetNumber(int value);
};

} // namespace kwizmar
