// The main window's keys and mouse: Enter routed by the focus, the
// accelerators, the right-button help, Ctrl over the answers, "Oceny" held
// down or toggled, F1 and the arrows among the answers.

#include "Egzamin.h"

#include "AnswerLetters.h"
#include "ContextHelp.h"
#include "ExamPage.h"
#include "HelpPanel.h"
#include "Settings.h"
#include "SpeedButton.h"
#include "StartPage.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QSpinBox>

namespace kwizmar {

namespace {

constexpr int kHelpMargin = 8;

bool IsTextField(QObject* object) {
    return qobject_cast<QLineEdit*>(object) || qobject_cast<QAbstractSpinBox*>(object);
}

// Alt with a key that types a character: a Latin letter, or a Polish one
// where the keyboard has its own keys for them (ż, ó, ł, ś, ą ...), which
// come with a key code of their own or none at all. AltGr (Ctrl+Alt on some
// systems) gives the Polish letters and is no such key.
bool IsAltLetter(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held = key.modifiers();
    if (!(held & Qt::AltModifier) || (held & (Qt::ControlModifier | Qt::GroupSwitchModifier)))
        return false;
    const QList<uint> text = key.text().toUcs4();
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](uint c) {
        return QChar::isPrint(c) && !QChar::isSpace(c);
    });
}

} // namespace

bool TEgzamin::eventFilter(QObject* watched, QEvent* event) {
    const auto secondary = Secondary();
    if (std::find(secondary.begin(), secondary.end(), watched) != secondary.end()) {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close)
            setEnabled(true);
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ContextMenu:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Shortcut:
        break;
    default:
        return false; // paints and moves come here too, many times a second
    }
    const QString name = HelpName(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // The verdict's OK takes Enter as the keyboard target behind it does
        // (Next, or Dalej after a wrong typed answer).
        if (enter && (watched == Panel3->SpeedButton8 || watched == Panel3->SpeedButton13)) {
            const char* target = watched == Panel3->SpeedButton8 ? "Next" : "Dalej";
            Act([&] {
                logic_->SetFocus(target);
                logic_->PressEnter();
            });
            return true;
        }
        // "Oceny" by keyboard: Space or Enter shows the grade scale, the next
        // one hides it (the mouse shows it while a button is held).
        if (watched == SpeedButton11 && (enter || key->key() == Qt::Key_Space)) {
            if (!key->isAutoRepeat())
                Act([this] { logic_->ShowGradeScale(!logic_->view().Panel8.visible); });
            return true;
        }
        // Any other button the focus rests on: Enter presses it, as Space does.
        if (enter && dynamic_cast<TSpeedButton*>(watched)) {
            static_cast<QAbstractButton*>(watched)->click();
            return true;
        }
        if (MoveAmongAnswers(watched, key->key()))
            return true;
        if (enter && ControlOf(name)) {
            Act([&] {
                logic_->SetFocus(name.toStdString());
                logic_->PressEnter();
            });
            return true;
        }
        // An Alt+letter that no visible, enabled button took is no typing.
        if (IsTextField(watched) && IsAltLetter(*key))
            return true;
        // While the desktop is locked, the Windows key's combinations (Super+D
        // and the like), which the program holds, type nothing either.
        if (IsTextField(watched) && (key->modifiers() & Qt::MetaModifier) &&
            (services_.settings.Options.Get(TOption::DesktopEnabled) ||
             services_.settings.Options.Get(TOption::TaskBarEnabled)))
            return true;
        break;
    }
    case QEvent::Shortcut: {
        // An accelerator acts at once, not when its pressed look ends a tenth
        // of a second later: a second one typed in that time ("Da&lej" right
        // after "&samodzielna") finds the window as the first one left it.
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || static_cast<QShortcutEvent*>(event)->isAmbiguous())
            break;
        if (button->isCheckable() && (button->focusPolicy() & Qt::ClickFocus))
            button->setFocus(Qt::ShortcutFocusReason);
        button->click();
        return true;
    }
    case QEvent::ContextMenu:
        // The right button explains a field, as it does every other control;
        // no edit menu comes up over the help.
        if (IsTextField(watched))
            return true;
        break;
    case QEvent::MouseButtonDblClick:
        if (doubleClickGuard_.Swallows(watched, *static_cast<QMouseEvent*>(event)))
            return true;
        break;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (doubleClickGuard_.Swallows(watched, *mouse))
            return true;
        if (watched == SpeedButton11) {
            Act([this] { logic_->ShowGradeScale(true); });
            return false;
        }
        if (mouse->buttons() & Qt::RightButton)
            ShowHelp(name);
        break;
    }
    case QEvent::MouseButtonRelease:
        if (watched == SpeedButton11)
            Act([this] { logic_->ShowGradeScale(false); });
        break;
    case QEvent::MouseMove: {
        if (!(static_cast<QMouseEvent*>(event)->modifiers() & Qt::ControlModifier))
            break;
        if (watched == Panel3->SamEdit)
            Act([this] { logic_->RevealTypedAnswer(true); });
        else if (std::find(Panel3->Answer.begin(), Panel3->Answer.end(), watched) !=
                 Panel3->Answer.end())
            Act([this] { logic_->RevealCorrectChoice(true); });
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TEgzamin::MoveAmongAnswers(QObject* watched, int key) {
    int step = 0;
    if (key == Qt::Key_Down || key == Qt::Key_Right)
        step = 1;
    else if (key == Qt::Key_Up || key == Qt::Key_Left)
        step = -1;
    const auto& answers = Panel3->Answer;
    const auto at = std::find(answers.begin(), answers.end(), watched);
    if (step == 0 || at == answers.end())
        return false;
    // As in a group of radio buttons: the arrows move to the next answer
    // shown, round the end, and pick it (Enter or OK checks it).
    const int count = kAnswerCount;
    int i = static_cast<int>(at - answers.begin());
    for (int tries = 1; tries < count; ++tries) {
        i = (i + step + count) % count;
        QRadioButton* next = answers[static_cast<std::size_t>(i)];
        if (next->isVisible() && next->isEnabled()) {
            const std::string letter = kAnswerLetters[i];
            Act([&] { logic_->ChooseAnswer(letter); });
            return true;
        }
    }
    return true;
}

QString TEgzamin::HelpName(QObject* object) const {
    // The time field's inner line edit speaks for the field.
    if (object && object->parent() == Panel6->SETime)
        return Panel6->SETime->objectName();
    return object ? object->objectName() : QString();
}

void TEgzamin::ShowHelp(const QString& controlName) {
    if (!logic_->MayExplain(controlName.toStdString()))
        return;
    const THelpEntry* entry = logic_->Help(controlName.toStdString());
    HP->SetLines(QString::fromUtf8(entry->H1), QString::fromUtf8(entry->H2),
                 QString::fromUtf8(entry->H3), width() - 2 * kHelpMargin);
    const QRect outer = frameGeometry();
    const QPoint pointer = QCursor::pos();
    const THelpPlacement place =
        PlaceHelpPanel({pointer.x(), pointer.y()},
                       {outer.x(), outer.y(), outer.width(), outer.height(), width(), height()},
                       HP->width(), HP->height());
    HP->move(place.left, place.top);
    HP->raise();
    HP->show();
}

} // namespace kwizmar
