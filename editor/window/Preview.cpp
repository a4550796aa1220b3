#include "Preview.h"

#include "AnswerLetters.h"
#include "ExamPageGeometry.h"
#include "Fonts.h"
#include "WrapDisplayLines.h"

#include <QPainter>

namespace kwizmar {

namespace {

using namespace exam_page;
constexpr int kAnswerX = kAnswerBoxX + kAnswerTextX;
// A line the exam would not show is listed below its place, one every 15 pixels.
constexpr int kCutStep = 15;
const QColor kCutColour(0xC0, 0x00, 0x00);

} // namespace

TPreview::TPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Podglad"));
    setToolTip(QStringLiteral("Tak zobaczy to pytanie zdający: trzy wiersze pytania i po jednym "
                              "wierszu na odpowiedź. Na czerwono to, czego w egzaminie nie "
                              "widać."));
    setMinimumWidth(kPageWidth + 2);
}

void TPreview::Show(const TQuestionPreview& preview, int correctAnswer) {
    preview_ = preview;
    correct_ = correctAnswer;
    updateGeometry();
    update();
}

int TPreview::ContentHeight() const {
    const int cutLines =
        std::max(0, static_cast<int>(preview_.questionLines.size()) - kShownQuestionLines);
    int height = 4 + kShownQuestionLines * kQuestionStep + 8 + cutLines * kCutStep + 22;
    for (const TAnswerLine& answer : preview_.answers)
        height += kAnswerStep + (answer.cut.empty() ? 0 : kCutStep);
    return height + 8;
}

QSize TPreview::sizeHint() const {
    return {kPageWidth + 2, ContentHeight()};
}

void TPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const QFont questionFont = UiFont(QuestionFont());
    const QFont answerFont = UiFont(AnswerFont());
    QFont letterFont = answerFont;
    letterFont.setBold(true);
    QFont cutQuestionFont = questionFont;
    cutQuestionFont.setStrikeOut(true);
    QFont cutFont = answerFont;
    cutFont.setStrikeOut(true);

    // The question lines in their sunken box.
    int y = 4;
    const QRect box(kAnswerBoxX, y - 2, kPageWidth - 8, kShownQuestionLines * kQuestionStep + 6);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setFont(questionFont);
    const int count = static_cast<int>(preview_.questionLines.size());
    for (int i = 0; i < count; ++i) {
        const QString line =
            QString::fromStdString(preview_.questionLines[static_cast<std::size_t>(i)]);
        if (i < kShownQuestionLines) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QRect(kQuestionX, y + i * kQuestionStep, kPageWidth - 20, 15),
                             Qt::AlignLeft | Qt::AlignVCenter, line);
            continue;
        }
        const int cutY = box.bottom() + 4 + (i - kShownQuestionLines) * kCutStep;
        painter.setPen(kCutColour);
        painter.setFont(cutQuestionFont);
        painter.drawText(QRect(kQuestionX, cutY, kPageWidth - 20, kCutStep),
                         Qt::AlignLeft | Qt::AlignVCenter, line);
    }
    y = box.bottom() + 6 + std::max(0, count - kShownQuestionLines) * kCutStep;

    // The answers, the correct one's letter marked.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(letterFont);
    painter.drawText(QRect(kAnswerBoxX, y, kPageWidth, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Proponowane odpowiedzi :"));
    y += 20;
    for (int i = 0; i < kAnswerCount; ++i) {
        const TAnswerLine& answer = preview_.answers[static_cast<std::size_t>(i)];
        painter.setFont(letterFont);
        painter.setPen(i == correct_ ? QColor(0x00, 0x80, 0x00)
                                     : palette().color(QPalette::WindowText));
        painter.drawText(QRect(kAnswerBoxX + 12, y, 44, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1 :").arg(QLatin1String(kAnswerCapitals[i])));
        painter.setFont(answerFont);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(kAnswerX, y, kAnswerTextWidth, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(answer.shown));
        y += kAnswerStep;
        if (!answer.cut.empty()) {
            painter.setPen(kCutColour);
            painter.setFont(cutFont);
            painter.drawText(QRect(kAnswerX, y - 3, kAnswerTextWidth, kCutStep),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("…") + QString::fromStdString(answer.cut));
            y += kCutStep;
        }
    }
}

} // namespace kwizmar
