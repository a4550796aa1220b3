// How the main window shows its model: one binding per control, applied after
// every event.

#include "Egzamin.h"

#include "ExamPage.h"
#include "HelpPanel.h"
#include "Odometer.h"
#include "Settings.h"
#include "SpeedButton.h"
#include "StartPage.h"
#include "SummaryPage.h"
#include "Widgets.h"

#include <QApplication>
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
    if (logic_->view().focus == renderedFocus_)
        return;
    renderedFocus_ = logic_->view().focus;
    const QString wanted = QString::fromStdString(renderedFocus_);
    QWidget* current = QApplication::focusWidget();
    if (wanted.isEmpty() || (current && HelpName(current) == wanted))
        return;
    for (const TBinding& b : bindings_) {
        if (b.widget->objectName() == wanted) {
            b.widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace kwizmar
