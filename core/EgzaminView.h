#pragma once

#include "AnswerLetters.h"
#include "Control.h"
#include "TestLoader.h"

#include <string>
#include <string_view>
#include <vector>

namespace kwizmar {

// Slots of the left button column (y of the button's top edge).
inline constexpr int kSlot1 = 6;
inline constexpr int kSlot2 = 86;
inline constexpr int kSlot3 = 166;
inline constexpr int kSlot4 = 240;

// The main window as its rules see it: one member per control, named after the
// control. A default-constructed view is the window as it is created: the
// start page on top, "&Opcje", "Abo&ut" and "&Zamknij" in the left column,
// everything of the exam at rest. The test box (Directory … TSSam) and
// "&Start" (SpeedButton3) come from the start page's test box.
struct TEgzaminView : TTestBoxView {
    TEgzaminView();

    // Pages and overlays of the content area.
    TControl Panel6;   // start page
    TControl Panel3;   // exam page
    TControl Panel4;   // summary page
    TControl Panel8;   // grade-scale overlay of the summary page
    TControl SAMPanel; // answer-form overlay
    TControl Panel7;   // the form chooser inside SAMPanel
    TControl ODPPanel; // verdict overlay

    // Start page.
    TControl NameEdit;
    TControl SETime;    // text: the exam time in minutes, as typed
    TControl Odometer1; // text: the number of this start of the program

    // Left column. SpeedButton3 "&Start" is in the test box.
    TControl SpeedButton1;  // "&Zamknij"
    TControl SpeedButton2;  // "&Wybierz test ..." (start page)
    TControl SpeedButton4;  // "Abo&ut"
    TControl SpeedButton5;  // "&Opcje"
    TControl SpeedButton6;  // "O&K", check a picked answer
    TControl SpeedButton9;  // "&Egzaminuj ..."
    TControl SpeedButton10; // "&Statystyki"
    TControl SpeedButton11; // "Oceny"
    TControl SpeedButton12; // "O&K", check a typed answer
    TControl SpeedButton14; // "&Powrót ..."

    // Exam page: banner, question, answers.
    TControl naglowek1;
    TControl naglowek2;
    TControl L1, L2, L3;
    TControl A, B, C, D, E;
    TControl odpA, odpB, odpC, odpD, odpE;

    // Statistics box.
    TControl Label13; // question count
    TControl NrPyt;   // question number
    TGauge PytBar;
    TGauge Gauge1;    // always full
    TControl Label19; // maximum points
    TGauge Gauge4;    // always full
    TControl ZdobytoPkt;
    TGauge ZdobytoBar;
    TControl StraconoPkt;
    TGauge StraconoBar;
    TControl Zdobyto; // points of the question on screen
    TControl OdpSam;  // the question's self-answer line as stored
    TControl minuty;  // "05"
    TControl sekundy; // "00"

    // Answer-form overlay.
    TControl LabelAdd;     // extra points of a typed answer
    TControl RBSam;        // "&samodzielna"
    TControl RBTest;       // "&testowa"
    TControl SpeedButton7; // "Da&lej"
    TControl SamEdit;      // text: the typed answer

    // Verdict overlay.
    TControl RxLabel1, RxLabel2, RxLabel3, RxLabel4;
    TControl SpeedButton8;  // "O&K", next question
    TControl SpeedButton13; // "O&K", back to the test form

    // Summary page.
    TControl RxLabel5, RxLabel6, RxLabel7, RxLabel8, RxLabel9, RxLabel10;
    TControl Label25; // grade-scale text, its lines joined by "\n"
    // "Zapisywanie wyniku…" while the result is on its way to the log.
    TControl LabelZapis;

    // Never seen: the question state the window keeps in hidden labels, and the
    // two keyboard targets that take Enter after a verdict. Of Next and Dalej
    // only `enabled` and the focus matter.
    TControl LabelOdp;     // chosen letter
    TControl LabelPrawda;  // correct letter
    TControl LabelFullOdp; // correct answer text
    TControl Next;
    TControl Dalej;

    // Name of the control that has the keyboard focus; empty for none that Enter acts on.
    std::string focus;

    // Timers: the exam clock (1000 ms, ClockTick) and the banner (70 ms, BannerStep).
    bool Czas = false;
    bool Timer1 = false;

    // The answer buttons and texts in the order A … E; the buttons are named
    // kAnswerCapitals, as the focus names them.
    TControl* AnswerButton(int index);
    const TControl* AnswerButton(int index) const;
    TControl* AnswerText(int index);
    const TControl* AnswerText(int index) const;

    // The exam page is on screen only while neither the start page nor the
    // summary covers it; under them its buttons and its focus must not act.
    bool ExamPageOnScreen() const { return Panel3.visible && !Panel6.visible && !Panel4.visible; }

    // Every control by the name of its window control; null for a name that
    // names none. The gauges are not among them.
    const TControl* Control(std::string_view name) const;
    struct TNamedControl {
        const char* name;
        TControl TEgzaminView::*control;
    };
    static const std::vector<TNamedControl>& Controls();
};

} // namespace kwizmar
