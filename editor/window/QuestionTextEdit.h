#pragma once

#include <QPlainTextEdit>

namespace kwizmar {

// The question's text: one line of the test file, written in a box that
// wraps it, so that a long question is seen whole while it is typed. Enter
// moves on as in every field of the editor; a line break pasted or typed
// becomes a space. `edited` reports the teacher's changes only, never those
// of SetText.
class TQuestionTextEdit final : public QPlainTextEdit {
public:
    explicit TQuestionTextEdit(QWidget* parent);

    QString Text() const { return toPlainText(); }
    // Shows `text`, keeping the cursor where it can.
    void SetText(const QString& text);
    void OnEdited(std::function<void(const QString&)> edited) { edited_ = std::move(edited); }
    QSize sizeHint() const override;

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::function<void(const QString&)> edited_;
    bool setting_ = false;
};

} // namespace kwizmar
