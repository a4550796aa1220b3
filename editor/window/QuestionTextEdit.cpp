#include "QuestionTextEdit.h"

#include <QMimeData>
#include <QTextBlock>

namespace kwizmar {

namespace {

QString OneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (const QChar breakChar : {QChar(u'\r'), QChar(u'\n'), QChar(QChar::ParagraphSeparator),
                                  QChar(QChar::LineSeparator)})
        text.replace(breakChar, QLatin1Char(' '));
    return text;
}

} // namespace

TQuestionTextEdit::TQuestionTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (setting_ || !edited_)
            return;
        const QString text = toPlainText();
        if (text.contains(QChar(u'\n')) || text.contains(QChar(QChar::ParagraphSeparator))) {
            // A break typed some other way than Enter: one line, as the file keeps it.
            const int at = textCursor().position();
            SetText(OneLine(text));
            QTextCursor cursor = textCursor();
            cursor.setPosition(std::min(at, static_cast<int>(toPlainText().size())));
            setTextCursor(cursor);
        }
        edited_(toPlainText());
    });
}

void TQuestionTextEdit::SetText(const QString& text) {
    if (toPlainText() == text)
        return;
    setting_ = true;
    const int at = textCursor().position();
    setPlainText(text);
    if (hasFocus()) {
        QTextCursor cursor = textCursor();
        cursor.setPosition(std::min(at, static_cast<int>(text.size())));
        setTextCursor(cursor);
    }
    setting_ = false;
}

QSize TQuestionTextEdit::sizeHint() const {
    // Three lines, as many as the exam page shows of a question.
    const int lines = 3;
    const QMargins margins = contentsMargins();
    return {QPlainTextEdit::sizeHint().width(),
            fontMetrics().lineSpacing() * lines +
                2 * static_cast<int>(document()->documentMargin()) + margins.top() +
                margins.bottom()};
}

void TQuestionTextEdit::insertFromMimeData(const QMimeData* source) {
    if (source->hasText())
        insertPlainText(OneLine(source->text()));
}

} // namespace kwizmar
