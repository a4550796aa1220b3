// The editor window's showing of the logic's state: after every action the
// title, the fields, the question with its preview, and the checks.
#include "Edytor.h"

#include "AnswerLetters.h"
#include "FindingsList.h"
#include "Preview.h"
#include "QuestionTextEdit.h"
#include "TypedAnswer.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace kwizmar {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TEdytor::Edit(const std::function<void()>& action) {
    action();
    copyDue_ = true;
    Render();
}

void TEdytor::RenderChecks(QLabel* label, const std::vector<TCheck>& checks) {
    QString html;
    for (const TCheck& check : checks) {
        const bool error = check.severity == TSeverity::Error;
        if (!html.isEmpty())
            html += QStringLiteral("<br>");
        html += QStringLiteral("<span style=\"color:%1\">%2 %3</span>")
                    .arg(error ? QStringLiteral("#c00000") : QStringLiteral("#8a5a00"),
                         error ? QStringLiteral("Błąd:") : QStringLiteral("Uwaga:"),
                         Q(check.text).toHtmlEscaped());
    }
    label->setText(html);
    // A question's field keeps a line for its checks, so that the rows below
    // stay where they are as they come and go.
    label->setVisible(!html.isEmpty() || label->property("keepsLine").toBool());
}

void TEdytor::RenderList() {
    const auto& questions = logic_.Document().questions;
    const int count = static_cast<int>(questions.size());
    const QSignalBlocker block(list_);
    while (list_->count() > count)
        delete list_->takeItem(list_->count() - 1);
    while (list_->count() < count)
        list_->addItem(QString());
    for (int k = 0; k < count; ++k) {
        QListWidgetItem* item = list_->item(k);
        const std::string& text = questions[static_cast<std::size_t>(k)].text;
        const QString caption = QStringLiteral("%1. %2").arg(k + 1).arg(
            text.empty() ? QStringLiteral("(bez treści)") : Q(text));
        if (item->text() != caption)
            item->setText(caption);
        item->setForeground(logic_.QuestionHasError(k) ? QColor(0xC0, 0x00, 0x00)
                                                       : palette().color(QPalette::Text));
    }
    list_->setCurrentRow(logic_.Selected());
}

void TEdytor::Render() {
    question_ = logic_.Selected();
    if (question_ != freshQuestion_)
        freshQuestion_ = -1;
    const bool hasQuestion = question_ >= 0;
    setWindowTitle(Q(logic_.DisplayName()) + QStringLiteral("[*] – Edytor testów Kwizmar 2002"));
    setWindowModified(logic_.Modified());
    KeepCopyCurrent();

    for (const TBoundField& field : fields_) {
        const TFieldRef ref = field.ref();
        const bool ofQuestion = ref.question >= 0 || ref.field >= TField::Text;
        field.widget()->setEnabled(!ofQuestion || hasQuestion);
        const QString text = ofQuestion && !hasQuestion ? QString() : Q(logic_.Text(ref));
        if (field.box) {
            field.box->SetText(text);
        } else if (field.edit->text() != text) {
            field.edit->setText(text);
            if (!field.edit->hasFocus())
                field.edit->setCursorPosition(0); // the start of a long text, not its end
        }
        RenderChecks(field.checks, (ofQuestion && !hasQuestion) || ChecksHidden(ref)
                                       ? std::vector<TCheck>()
                                       : logic_.ChecksOf(ref));
    }

    const TTestDocument& doc = logic_.Document();
    counts_->setText(QStringLiteral("%1, z odpowiedzią samodzielną: %2")
                         .arg(doc.questions.size())
                         .arg(SelfAnswerQuestionCount(doc)));
    maxByHand_->setChecked(doc.maxPointsByHand.has_value());
    maxPoints_->setReadOnly(!doc.maxPointsByHand);
    RenderChecks(listChecks_, logic_.ChecksOf({TField::Questions}));
    RenderList();

    questionBox_->setEnabled(hasQuestion);
    questionBox_->setTitle(hasQuestion ? QStringLiteral(" Pytanie %1 : ").arg(question_ + 1)
                                       : QStringLiteral(" Pytanie : "));
    if (hasQuestion) {
        const TQuestion& q = doc.questions[static_cast<std::size_t>(question_)];
        const int correct = AnswerIndex(q.correctLetter);
        for (int i = 0; i < kAnswerCount; ++i)
            correct_[static_cast<std::size_t>(i)]->setChecked(i == correct);
        RenderChecks(correctChecks_, ChecksHidden({TField::CorrectLetter, question_})
                                         ? std::vector<TCheck>()
                                         : logic_.ChecksOf({TField::CorrectLetter, question_}));
        static_cast<QFormLayout*>(questionBox_->layout())
            ->setRowVisible(correctChecks_, !correctChecks_->text().isEmpty());
        answersNote_->setText(Q(AnswerCountNote(q)));
        static_cast<QFormLayout*>(questionBox_->layout())
            ->setRowVisible(answersNote_, !answersNote_->text().isEmpty());
        const TSelfAnswer self = ParseSelfAnswerLine(q.selfAnswerLine);
        selfAnswer_->setChecked(self.hasSelfAnswer);
        bonus_->setEnabled(self.hasSelfAnswer);
        if (self.hasSelfAnswer) {
            const QString answer =
                correct >= 0 ? Q(q.answers[static_cast<std::size_t>(correct)]) : QString();
            selfAnswerNote_->setText(
                (QStringLiteral("Zdający najpierw wybierze formę pytania. Jeśli wybierze "
                                "samodzielną, musi wpisać treść poprawnej odpowiedzi (%1): "
                                "<b>%2</b>. ") +
                 QString::fromUtf8(kTypedAnswerRuleText) +
                 QStringLiteral(" Za dobrą odpowiedź dostanie punkty pytania i dodatkowe; po "
                                "złej odpowie testowo, bez dodatkowych punktów."))
                    .arg(correct >= 0 ? QLatin1String(kAnswerCapitals[correct])
                                      : QLatin1String("?"),
                         answer.isEmpty() ? QStringLiteral("—") : answer.toHtmlEscaped()));
        } else {
            selfAnswerNote_->setText(QStringLiteral(
                "Zaznacz, by zdający mógł wpisać poprawną odpowiedź sam, zamiast ją wybierać."));
        }
        preview_->Show(PreviewQuestion(q, question_ + 1, measure_), correct);
    } else {
        preview_->Show(TQuestionPreview{}, -1);
    }

    undo_->setEnabled(logic_.CanUndo());
    redo_->setEnabled(logic_.CanRedo());
    undo_->setText(logic_.CanUndo() ? QStringLiteral("&Cofnij: ") + Q(logic_.UndoLabel())
                                    : QStringLiteral("&Cofnij"));
    redo_->setText(logic_.CanRedo() ? QStringLiteral("&Ponów: ") + Q(logic_.RedoLabel())
                                    : QStringLiteral("&Ponów"));
    const int count = static_cast<int>(doc.questions.size());
    delete_->setEnabled(hasQuestion);
    for (QAction* a : correctActions_)
        a->setEnabled(hasQuestion);
    duplicate_->setEnabled(hasQuestion);
    up_->setEnabled(question_ > 0);
    down_->setEnabled(hasQuestion && question_ + 1 < count);

    if (findings_ && findings_->isVisible())
        findings_->Show(logic_.Checks());
    const int errors = logic_.ErrorCount();
    const int warnings = static_cast<int>(logic_.Checks().size()) - errors;
    const QString list = errors + warnings > 0 ? QStringLiteral(" Lista: Ctrl + L.") : QString();
    status_->setText(
        (errors > 0 ? QStringLiteral("Błędy: %1, uwagi: %2. Plik .ts2 można zapisać dopiero po "
                                     "poprawieniu błędów; szkic – zawsze.")
                          .arg(errors)
                          .arg(warnings)
                    : QStringLiteral("Test jest gotowy do zapisania. Uwagi: %1.").arg(warnings)) +
        list);
}

} // namespace kwizmar
