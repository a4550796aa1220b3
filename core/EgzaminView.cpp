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

} // namespace

TEgzaminView::TEgzaminView() {
    SpeedButton3 = InSlot(Hidden(), kSlot2);

    Panel4 = Covered();
    Panel8 = Covered();
    SAMPanel = Covered();
    ODPPanel = Covered();

    SETime = Text(std::to_string(kDefaultExamMinutes));
    Odometer1 = Text("1");

    SpeedButton1 = InSlot(TControl{}, kSlot4);
    SpeedButton4 = InSlot(TControl{}, kSlot3);
    SpeedButton5 = InSlot(TControl{}, kSlot1);
    SpeedButton6 = InSlot(Hidden(), kSlot4);
    SpeedButton9 = InSlot(Hidden(), kSlot4);
    SpeedButton10 = InSlot(Hidden(), kSlot1);
    SpeedButton11 = InSlot(Hidden(), kSlot2);
    SpeedButton12 = InSlot(Hidden(), kSlot4);
    SpeedButton14 = InSlot(Hidden(), kSlot2);

    for (int i = 0; i < kAnswerCount; ++i)
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
    LabelZapis = Hidden();
    LabelZapis.enabled = true;
    LabelZapis.text = "Zapisywanie wyniku…";

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

const TControl* TEgzaminView::AnswerText(int index) const {
    return const_cast<TEgzaminView*>(this)->AnswerText(index);
}

#define KWIZMAR_CONTROL(name)                                                                      \
    { #name, &TEgzaminView::name }

const std::vector<TEgzaminView::TNamedControl>& TEgzaminView::Controls() {
    static const std::vector<TNamedControl> controls = {
        KWIZMAR_CONTROL(Panel6),
        KWIZMAR_CONTROL(Panel3),
        KWIZMAR_CONTROL(Panel4),
        KWIZMAR_CONTROL(Panel8),
        KWIZMAR_CONTROL(SAMPanel),
        KWIZMAR_CONTROL(Panel7),
        KWIZMAR_CONTROL(ODPPanel),
        KWIZMAR_CONTROL(NameEdit),
        KWIZMAR_CONTROL(SETime),
        KWIZMAR_CONTROL(Odometer1),
        KWIZMAR_CONTROL(SpeedButton2),
        KWIZMAR_CONTROL(Directory),
        KWIZMAR_CONTROL(Linia1),
        KWIZMAR_CONTROL(Linia2),
        KWIZMAR_CONTROL(TSName),
        KWIZMAR_CONTROL(TSAutor),
        KWIZMAR_CONTROL(TSData),
        KWIZMAR_CONTROL(TSPyt),
        KWIZMAR_CONTROL(TSPkt),
        KWIZMAR_CONTROL(TSSam),
        KWIZMAR_CONTROL(SpeedButton1),
        KWIZMAR_CONTROL(SpeedButton3),
        KWIZMAR_CONTROL(SpeedButton4),
        KWIZMAR_CONTROL(SpeedButton5),
        KWIZMAR_CONTROL(SpeedButton6),
        KWIZMAR_CONTROL(SpeedButton9),
        KWIZMAR_CONTROL(SpeedButton10),
        KWIZMAR_CONTROL(SpeedButton11),
        KWIZMAR_CONTROL(SpeedButton12),
        KWIZMAR_CONTROL(SpeedButton14),
        KWIZMAR_CONTROL(naglowek1),
        KWIZMAR_CONTROL(naglowek2),
        KWIZMAR_CONTROL(L1),
        KWIZMAR_CONTROL(L2),
        KWIZMAR_CONTROL(L3),
        KWIZMAR_CONTROL(A),
        KWIZMAR_CONTROL(B),
        KWIZMAR_CONTROL(C),
        KWIZMAR_CONTROL(D),
        KWIZMAR_CONTROL(E),
        KWIZMAR_CONTROL(odpA),
        KWIZMAR_CONTROL(odpB),
        KWIZMAR_CONTROL(odpC),
        KWIZMAR_CONTROL(odpD),
        KWIZMAR_CONTROL(odpE),
        KWIZMAR_CONTROL(Label13),
        KWIZMAR_CONTROL(NrPyt),
        KWIZMAR_CONTROL(Label19),
        KWIZMAR_CONTROL(ZdobytoPkt),
        KWIZMAR_CONTROL(StraconoPkt),
        KWIZMAR_CONTROL(Zdobyto),
        KWIZMAR_CONTROL(OdpSam),
        KWIZMAR_CONTROL(minuty),
        KWIZMAR_CONTROL(sekundy),
        KWIZMAR_CONTROL(LabelAdd),
        KWIZMAR_CONTROL(RBSam),
        KWIZMAR_CONTROL(RBTest),
        KWIZMAR_CONTROL(SpeedButton7),
        KWIZMAR_CONTROL(SamEdit),
        KWIZMAR_CONTROL(RxLabel1),
        KWIZMAR_CONTROL(RxLabel2),
        KWIZMAR_CONTROL(RxLabel3),
        KWIZMAR_CONTROL(RxLabel4),
        KWIZMAR_CONTROL(SpeedButton8),
        KWIZMAR_CONTROL(SpeedButton13),
        KWIZMAR_CONTROL(RxLabel5),
        KWIZMAR_CONTROL(RxLabel6),
        KWIZMAR_CONTROL(RxLabel7),
        KWIZMAR_CONTROL(RxLabel8),
        KWIZMAR_CONTROL(RxLabel9),
        KWIZMAR_CONTROL(RxLabel10),
        KWIZMAR_CONTROL(Label25),
        KWIZMAR_CONTROL(LabelZapis),
        KWIZMAR_CONTROL(LabelOdp),
        KWIZMAR_CONTROL(LabelPrawda),
        KWIZMAR_CONTROL(LabelFullOdp),
        KWIZMAR_CONTROL(Next),
        KWIZMAR_CONTROL(Dalej),
    };
    return controls;
}

#undef KWIZMAR_CONTROL

const TControl* TEgzaminView::Control(std::string_view name) const {
    for (const TNamedControl& named : Controls())
        if (name == named.name)
            return &(this->*named.control);
    return nullptr;
}

} // namespace kwizmar
