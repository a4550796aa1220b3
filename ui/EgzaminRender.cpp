// How the main window shows its model: one binding per control, applied after
// every event.

#include "Egzamin.h"

#include "AnswerLetters.h"

#include "ExamPage.h"
#include "HelpPanel.h"
#include "Odometer.h"
#include "Settings.h"
#include "SpeedButton.h"
#include "StartPage.h"
#include "SummaryPage.h"
#include "Widgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kwizmar {

namespace {

void ShowText(QWidget* widget, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text() != text)
            label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != text)
            edit->setText(text);
    } else if (auto* spin = dynamic_cast<TTimeSpin*>(widget)) {
        if (spin->text() != text)
            spin->ShowText(text);
    } else if (auto* counter = dynamic_cast<TOdometer*>(widget)) {
        if (counter->Value() != text.toLongLong()) // each new value rolls the counter anew
            counter->SetValue(text.toLongLong());
    } else if (auto* digits = dynamic_cast<TTwoDigits*>(widget)) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (ok)
            digits->SetNumber(value);
    }
}

} // namespace

void TEgzamin::BuildBindings() {
    // Each control of the model shows on the widget of its name; controls the
    // window keeps no widget for (the hidden question state) have none.
    const TEgzaminView& v = logic_->view();
    for (const TEgzaminView::TNamedControl& named : TEgzaminView::Controls())
        if (auto* widget = findChild<QWidget*>(QString::fromLatin1(named.name)))
            bindings_.push_back({widget, &(v.*named.control)});
}

const TControl* TEgzamin::ControlOf(const QString& name) const {
    return logic_->view().Control(name.toStdString());
}

void TEgzamin::Render() {
    rendering_ = true;
    const TEgzaminView& v = logic_->view();

    // The help panel explains what is on screen: a page or overlay that comes
    // or goes takes it away. The start page is one page with a test or
    // without; on the summary the grade scale comes and goes.
    TExamPhase phase = ExamPhaseOf(v);
    // A strict exam keeps the lockdown it started with until it ends.
    const bool hold = services_.labRules.strictExam && ExamInProgress(phase);
    if (hold != services_.settings.Options.LockdownHeld())
        services_.settings.Options.HoldLockdown(hold);
    if (phase == TExamPhase::TestChosen)
        phase = TExamPhase::StartPage;
    const int page = static_cast<int>(phase) << 1 | int(v.Panel8.visible);
    if (page != shownPage_) {
        HP->hide();
        shownPage_ = page;
    }
    for (const TBinding& b : bindings_) {
        const TControl& c = *b.control;
        QWidget* w = b.widget;
        const bool visible = w == Panel3 ? v.ExamPageOnScreen() : c.visible;
        // Next and Dalej lie below the visible area: only their enabled state counts.
        const bool offScreen = w == Panel3->Next || w == Panel3->Dalej;
        if (!offScreen && w->isVisibleTo(w->parentWidget()) != visible)
            w->setVisible(visible);
        if (w->isEnabled() != c.enabled)
            w->setEnabled(c.enabled);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->isCheckable() && button->isChecked() != c.checked)
                button->setChecked(c.checked);
        } else {
            ShowText(w, c.text);
        }
        if (dynamic_cast<TSpeedButton*>(w) && w->parentWidget() == Panel1 &&
            w->pos() != QPoint(c.x, c.y))
            w->move(c.x, c.y);
    }
    MoveBanner();
    for (auto [bar, gauge] :
         {std::pair{Panel3->Gauge1, &v.Gauge1}, std::pair{Panel3->Gauge4, &v.Gauge4},
          std::pair{Panel3->PytBar, &v.PytBar}, std::pair{Panel3->ZdobytoBar, &v.ZdobytoBar},
          std::pair{Panel3->StraconoBar, &v.StraconoBar}}) {
        // The bar shows the model's own percentage of its range.
        bar->setRange(0, 100);
        bar->setValue(gauge->PercentDone());
    }
    if (v.Czas != Czas.isActive())
        v.Czas ? Czas.start() : Czas.stop();
    if (v.Timer1 != Timer1.isActive())
        v.Timer1 ? Timer1.start() : Timer1.stop();
    RenderAccessibleNames();
    RenderFocus();
    rendering_ = false;
}

void TEgzamin::RenderClock() {
    const TEgzaminView& v = logic_->view();
    ShowText(Panel3->minuty, v.minuty.text);
    ShowText(Panel3->sekundy, v.sekundy.text);
}

void TEgzamin::MoveBanner() {
    const TEgzaminView& v = logic_->view();
    Panel3->Strip->ShowBanner(v.naglowek1.text, v.naglowek1.x, v.naglowek2.text, v.naglowek2.x);
}

// The focus moves where the model moves it, and only then: a render that
// comes while the person moves it (the time field's entry ends as it loses the
// focus, before the window hears where the focus went) must not take it back.
void TEgzamin::RenderFocus() {
    const bool moved = logic_->view().focus != renderedFocus_;
    renderedFocus_ = logic_->view().focus;
    QString wanted = QString::fromStdString(renderedFocus_);
    // Enter after a verdict goes to Next or Dalej, which lie out of sight:
    // the focus shows on the verdict's OK that stands for them.
    if (wanted == QLatin1String("Next"))
        wanted = Panel3->SpeedButton8->objectName();
    else if (wanted == QLatin1String("Dalej"))
        wanted = Panel3->SpeedButton13->objectName();
    QWidget* current = focusWidget();
    if (moved && !wanted.isEmpty() && !(current && HelpName(current) == wanted)) {
        for (const TBinding& b : bindings_) {
            if (b.widget->objectName() == wanted) {
                b.widget->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
    }
    // A step that names no focus (a new question, the summary) or a focus
    // left on a control that went out of sight: the first control of what
    // shows takes it, never a hidden one.
    current = focusWidget();
    if ((moved && wanted.isEmpty()) || !current || !current->isVisible() || !current->isEnabled())
        firstControlDue_ = true;
    if (!firstControlDue_ || !isEnabled())
        return;
    // The summary's "&Egzaminuj ..." shows once the result is kept: the
    // focus waits for it.
    if (QWidget* first = FirstShownControl()) {
        if (first != current)
            first->setFocus(Qt::OtherFocusReason);
        firstControlDue_ = false;
    }
}

QWidget* TEgzamin::FirstShownControl() const {
    auto usable = [](QWidget* w) { return w && w->isVisible() && w->isEnabled(); };
    TExamPage* exam = Panel3;
    if (Panel4->isVisible())
        return usable(SpeedButton9) ? SpeedButton9 : nullptr;
    if (exam->isVisible() && exam->ODPPanel->isVisible())
        return usable(exam->SpeedButton8) ? exam->SpeedButton8 : exam->SpeedButton13;
    if (exam->isVisible() && exam->SAMPanel->isVisible()) {
        if (exam->Panel7->isVisible())
            return exam->RBTest->isChecked() ? exam->RBTest : exam->RBSam;
        return exam->SamEdit;
    }
    if (exam->isVisible()) {
        QWidget* first = nullptr;
        for (QRadioButton* answer : exam->Answer)
            if (usable(answer) && (answer->isChecked() || !first))
                first = answer;
        if (first)
            return first;
    }
    if (usable(Panel6) && usable(Panel6->NameEdit))
        return Panel6->NameEdit;
    for (QWidget* button : {SpeedButton3, SpeedButton1})
        if (usable(button))
            return button;
    return nullptr;
}

void TEgzamin::RenderAccessibleNames() {
    auto name = [](QWidget* w, const QString& text) {
        if (w->accessibleName() != text)
            w->setAccessibleName(text);
    };
    auto joined = [](std::initializer_list<const QLabel*> labels) {
        QStringList parts;
        for (const QLabel* label : labels)
            if (!label->text().trimmed().isEmpty())
                parts << label->text().trimmed();
        return parts.join(QLatin1Char(' '));
    };
    // The window's own name stays put while its title scrolls.
    QString test = QString::fromStdString(logic_->view().TSName.text).trimmed();
    if (test.size() > 1 && test.startsWith(QLatin1Char('"')) && test.endsWith(QLatin1Char('"')))
        test = test.mid(1, test.size() - 2).trimmed();
    name(this, test.isEmpty() ? QStringLiteral("Kwizmar 2002")
                              : QStringLiteral("Kwizmar 2002 \u2013 ") + test);
    TExamPage* exam = Panel3;
    const QString question = exam->QuestionText();
    name(exam->GroupBox2, question);
    name(exam->SAMPanel, question);
    for (std::size_t i = 0; i < kAnswerCount; ++i)
        name(exam->Answer[i], QString::fromLatin1(kAnswerCapitals[i]) + QStringLiteral(": ") +
                                  exam->AnswerText[i]->text().trimmed());
    const QString verdict =
        joined({exam->RxLabel[0], exam->RxLabel[1], exam->RxLabel[2], exam->RxLabel[3]});
    name(exam->ODPPanel, verdict);
    // On the summary the focus is on "&Egzaminuj ...", which tells the result.
    const QString summary = joined({Panel4->RxLabel[0], Panel4->RxLabel[1], Panel4->RxLabel[2],
                                    Panel4->RxLabel[3], Panel4->RxLabel[4], Panel4->RxLabel[5]});
    name(Panel4, summary);
    if (SpeedButton9->accessibleDescription() != summary)
        SpeedButton9->setAccessibleDescription(summary);
}

} // namespace kwizmar
