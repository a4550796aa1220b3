#include "EgzaminView.h"

#include "ExamClock.h"
#include "GradeScale.h"

namespace kwizmar {

namespace {

TControl InSlot(TControl c, int y) {
    c.x = 8;
    c.y = y;
    return c;
}

// A page or overlay: hidden until its moment, and never disabled.
TControl Covered() {
    TControl c;
    c.visible = false;
    return c;
}

TControl Disabled() {
    TControl c;
    c.enabled = false;
    return c;
}

TControl Text(const std::string& text) {
    TControl c;
    c.text = text;
    return c;
}

TGauge FullGauge() {
    TGauge g;
    g.progress = g.maxValue;
    return g;
}

std::string GradeScaleText() {
    std::string text;
    for (const char* line : GradeScaleLines()) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

} // namespace

TEgzaminView::TEgzaminView() {
    SpeedButton3 = InSlot(Hidden(), kSlot2);

    Panel4 = Covered();
    Panel8 = Covered();
    SAMPanel = Covered();
    ODPPanel = Covered();

    SETime = Text(std::to_string(kDefaultExamMinutes));

    SpeedButton1 = InSlot(TControl{}, kSlot4);
    SpeedButton4 = InSlot(TControl{}, kSlot3);
    SpeedButton5 = InSlot(TControl{}, kSlot1);
    SpeedButton6 = InSlot(Hidden(), kSlot4);
    SpeedButton9 = InSlot(Hidden(), kSlot4);
    SpeedButton10 = InSlot(Hidden(), kSlot1);
    SpeedButton11 = InSlot(Hidden(), kSlot2);
    SpeedButton12 = InSlot(Hidden(), kSlot4);
    SpeedButton14 = InSlot(Hidden(), kSlot2);

    for (int i = 0; i < 5; ++i)
        *AnswerButton(i) = Disabled();

    Gauge1 = FullGauge();
    Gauge4 = FullGauge();
    minuty = Text("00");
    sekundy = Text("00");

    SpeedButton7 = Disabled();
    SamEdit = Disabled();
    SpeedButton8 = Hidden();
    SpeedButton13 = Hidden();

    Label25 = Text(GradeScaleText());

    LabelOdp = Hidden();
    LabelPrawda = Hidden();
    LabelFullOdp = Hidden();
    Next = Hidden();
    Dalej = Hidden();

    focus = "NameEdit";
}

TControl* TEgzaminView::AnswerButton(int index) {
    TControl* buttons[] = {&A, &B, &C, &D, &E};
    return buttons[index];
}

const TControl* TEgzaminView::AnswerButton(int index) const {
    const TControl* buttons[] = {&A, &B, &C, &D, &E};
    return buttons[index];
}

TControl* TEgzaminView::AnswerText(int index) {
    TControl* texts[] = {&odpA, &odpB, &odpC, &odpD, &odpE};
    return texts[index];
}

} // namespace kwizmar
