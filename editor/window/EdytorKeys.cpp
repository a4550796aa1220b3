// The editor window's keyboard and its ways to the checks: the Tab order,
// Enter, the checks of a new question that wait until its fields are left,
// the list of every finding, and the test's file changed on disk.
#include "Edytor.h"

#include "FindingsList.h"
#include "QuestionTextEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>

namespace kwizmar {

void TEdytor::SetTabOrder(const std::vector<QWidget*>& order) {
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    // From the last field back to the first, past nothing else.
    setTabOrder(order.back(), order.front());
}

void TEdytor::FocusNextField(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        auto* line = qobject_cast<QLineEdit*>(w);
        const bool typed = (line && !line->isReadOnly()) || dynamic_cast<TQuestionTextEdit*>(w);
        if (typed && w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus) &&
            w->window() == this) {
            w->setFocus(Qt::TabFocusReason);
            if (line)
                line->selectAll();
            return;
        }
    }
}

void TEdytor::ShowFindings() {
    if (!findings_)
        findings_ = new TFindingsList(this, [this](TFieldRef ref) { GoTo(ref); });
    freshQuestion_ = -1; // every finding is said now
    findings_->show();
    Render();
    findings_->raise();
    findings_->activateWindow();
}

void TEdytor::GoTo(TFieldRef ref) {
    if (ref.question >= 0)
        logic_.Select(ref.question);
    Render();
    activateWindow();
    QWidget* target = ref.field == TField::Questions ? static_cast<QWidget*>(list_) : nullptr;
    if (ref.field == TField::CorrectLetter)
        target = correct_[0];
    for (const TBoundField& field : fields_)
        if (field.ref() == ref)
            target = field.widget();
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

bool TEdytor::ChecksHidden(TFieldRef ref) const {
    if (ref.question < 0 || ref.question != freshQuestion_)
        return false;
    if (ref.field == TField::CorrectLetter) {
        // "The correct answer is empty" waits for that answer.
        const TQuestion& q = logic_.Document().questions[static_cast<std::size_t>(ref.question)];
        ref = {TField::Answer, ref.question, std::max(0, AnswerIndex(q.correctLetter))};
    }
    return std::find(left_.begin(), left_.end(), ref) == left_.end();
}

bool TEdytor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && freshQuestion_ >= 0)
        for (const TBoundField& field : fields_)
            if (field.widget() == watched && ChecksHidden(field.ref())) {
                left_.push_back(field.ref());
                // After the focus has gone on, so that the rows don't move under the click.
                QMetaObject::invokeMethod(
                    this, [this] { Render(); }, Qt::QueuedConnection);
                break;
            }
    // Enter moves on to the next field to type in, as in the exam program.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            FocusNextField(static_cast<QWidget*>(watched));
            return true;
        }
    }
    // A line edit would take the undo keys for its own undo of the line; the
    // test's undo covers every edit, the line's typing included.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            undo_->shortcuts().contains(QKeySequence(key->keyCombination())) ||
            redo_->shortcuts().contains(QKeySequence(key->keyCombination())))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TEdytor::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Back from another window, perhaps one that changed the file: after the
    // activation is done, so that the question comes on top.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(
            this, [this] { CheckDiskChange(); }, Qt::QueuedConnection);
}

} // namespace kwizmar
