#pragma once

#include "QuestionPreview.h"

#include <QWidget>

namespace kwizmar {

// The selected question as the exam page shows it, in its fonts and widths:
// three lines of question text and one line per answer. What the page cuts
// off is drawn in red below the line it belongs to.
class TPreview final : public QWidget {
public:
    explicit TPreview(QWidget* parent);
    void Show(const TQuestionPreview& preview, int correctAnswer);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int ContentHeight() const;

    TQuestionPreview preview_;
    int correct_ = -1;
};

} // namespace kwizmar
