#pragma once

#include <QVariantAnimation>
#include <QWidget>

namespace kwizmar {

// An eight-digit counter whose wheels roll up to a new number.
class TOdometer final : public QWidget {
public:
    TOdometer(const char* name, QWidget* parent);

    void SetValue(qint64 value);
    qint64 Value() const { return target_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kDigits = 8;
    QVariantAnimation roll_;
    double shown_ = 0;
    qint64 target_ = 0;
};

} // namespace kwizmar
