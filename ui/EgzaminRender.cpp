// How the main window shows its model: one binding per control, applied after
// every event.

#include "Egzamin.h"

#include "ExamPage.h"
#include "HelpPanel.h"
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
    } else if (auto* digits = dynamic_cast<TTwoDigits*>(widget)) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (ok)
            digits->SetNumber(value);
    }
}

} // namespace

void TEgzamin::BuildBindings() {
    const TEgzaminView& v = logic_->view();
    TStartPage* start = Panel6;
    TExamPage* exam = Panel3;
    TSummaryPage* summary = Panel4;
    bindings_ = {
        {start, &v.Panel6},
        {exam, &v.Panel3},
        {summary, &v.Panel4},
        {summary->Panel8, &v.Panel8},
        {exam->SAMPanel, &v.SAMPanel},
        {exam->Panel7, &v.Panel7},
        {exam->ODPPanel, &v.ODPPanel},
        {start->NameEdit, &v.NameEdit},
        {start->SETime, &v.SETime},
        {start->SpeedButton2, &v.SpeedButton2},
        {start->Directory, &v.Directory},
        {start->Linia1, &v.Linia1},
        {start->Linia2, &v.Linia2},
        {start->TSName, &v.TSName},
        {start->TSAutor, &v.TSAutor},
        {start->TSData, &v.TSData},
        {start->TSPyt, &v.TSPyt},
        {start->TSPkt, &v.TSPkt},
        {start->TSSam, &v.TSSam},
        {SpeedButton1, &v.SpeedButton1},
        {SpeedButton3, &v.SpeedButton3},
        {SpeedButton4, &v.SpeedButton4},
        {SpeedButton5, &v.SpeedButton5},
        {SpeedButton6, &v.SpeedButton6},
        {SpeedButton9, &v.SpeedButton9},
        {SpeedButton10, &v.SpeedButton10},
        {SpeedButton11, &v.SpeedButton11},
        {SpeedButton12, &v.SpeedButton12},
        {SpeedButton14, &v.SpeedButton14},
        {exam->naglowek1, &v.naglowek1},
        {exam->naglowek2, &v.naglowek2},
        {exam->L[0], &v.L1},
        {exam->L[1], &v.L2},
        {exam->L[2], &v.L3},
        {exam->Label13, &v.Label13},
        {exam->NrPyt, &v.NrPyt},
        {exam->Label19, &v.Label19},
        {exam->ZdobytoPkt, &v.ZdobytoPkt},
        {exam->StraconoPkt, &v.StraconoPkt},
        {exam->Zdobyto, &v.Zdobyto},
        {exam->OdpSam, &v.OdpSam},
        {exam->minuty, &v.minuty},
        {exam->sekundy, &v.sekundy},
        {exam->LabelAdd, &v.LabelAdd},
        {exam->RBSam, &v.RBSam},
        {exam->RBTest, &v.RBTest},
        {exam->SpeedButton7, &v.SpeedButton7},
        {exam->SamEdit, &v.SamEdit},
        {exam->SpeedButton8, &v.SpeedButton8},
        {exam->SpeedButton13, &v.SpeedButton13},
        {exam->Next, &v.Next},
        {exam->Dalej, &v.Dalej},
        {exam->RxLabel[0], &v.RxLabel1},
        {exam->RxLabel[1], &v.RxLabel2},
        {exam->RxLabel[2], &v.RxLabel3},
        {exam->RxLabel[3], &v.RxLabel4},
        {summary->RxLabel[0], &v.RxLabel5},
        {summary->RxLabel[1], &v.RxLabel6},
        {summary->RxLabel[2], &v.RxLabel7},
        {summary->RxLabel[3], &v.RxLabel8},
        {summary->RxLabel[4], &v.RxLabel9},
        {summary->RxLabel[5], &v.RxLabel10},
        {summary->Label25, &v.Label25},
    };
    const TControl* texts[] = {&v.odpA, &v.odpB, &v.odpC, &v.odpD, &v.odpE};
    for (std::size_t i = 0; i < 5; ++i) {
        bindings_.push_back({exam->Answer[i], v.AnswerButton(static_cast<int>(i))});
        bindings_.push_back({exam->AnswerText[i], texts[i]});
    }
}

const TControl* TEgzamin::ControlOf(const QString& name) const {
    for (const TBinding& b : bindings_)
        if (b.widget->objectName() == name)
            return b.control;
    return nullptr;
}

void TEgzamin::Render() {
    rendering_ = true;
    const TEgzaminView& v = logic_->view();
    // A page lying under the start page or the summary is never seen; hiding it
    // keeps its buttons' accelerators and the focus off it.
    const bool examCovered = v.Panel6.visible || v.Panel4.visible;
    // The help panel explains what is on screen: a page or overlay that comes
    // or goes takes it away.
    const int page = int(v.Panel6.visible) | int(v.Panel4.visible) << 1 |
                     int(v.ODPPanel.visible) << 2 | int(v.Panel7.visible) << 3 |
                     int(v.SAMPanel.visible) << 4 | int(v.Panel8.visible) << 5;
    if (page != shownPage_) {
        HP->hide();
        shownPage_ = page;
    }
    for (const TBinding& b : bindings_) {
        const TControl& c = *b.control;
        QWidget* w = b.widget;
        const bool visible = w == Panel3 ? c.visible && !examCovered : c.visible;
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
    for (auto [label, control] :
         {std::pair{Panel3->naglowek1, &v.naglowek1}, std::pair{Panel3->naglowek2, &v.naglowek2}}) {
        label->adjustSize();
        label->move(control->x, label->y());
    }
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

void TEgzamin::RenderFocus() {
    const QString wanted = QString::fromStdString(logic_->view().focus);
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
