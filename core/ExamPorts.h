#pragma once

#include "AnswerRecord.h"
#include "ExamJournal.h"
#include "RegionalSettings.h"
#include "TextMeasure.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// What the exam needs from outside the toolkit-free core. The application
// gives these over the settings store, the options window, the results log,
// its message boxes and the system clock; tests use fakes.

namespace kwizmar {

// A message box with one text and an OK button, shown to the examinee.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

struct TLocalDateTime {
    TDate date;
    TTime time;
};

// The local date and time of the computer.
class ILocalClock {
public:
    virtual ~ILocalClock() = default;
    virtual TLocalDateTime Now() const = 0;
    // Seconds since 1970 by the computer's clock, whatever its time zone: the
    // deadline of an exam that outlives the program.
    virtual std::int64_t EpochSeconds() const;
};

// Everything the main window's logic is given at its creation; the objects
// must outlive it.
// What the administrator of a lab fixed for every exam on the computer, where
// pupils can't change it. The defaults are the program's own behaviour.
struct TLabRules {
    // No Ctrl + mouse reveal of the right answer or of the typed answer.
    bool strictExam = false;
    // The exam time in minutes, 5 … 60, shown in the time field, which can't
    // be changed then; 0 leaves the time to the examinee.
    int examMinutes = 0;
};

// Whether an exam shows the questions, and the answers of each, in an order of
// its own (ExamOrder.h).
struct TShuffle {
    bool questions = false;
    bool answers = false;
};

struct TExamPorts {
    // Stores the examinee's name as the setting UserName. May throw the
    // settings store's EPlatformError; the start then stops there.
    std::function<void(const std::string& name)> storeUserName;
    // The live state of the option "Wyświetlaj każdą opowiedź w formie
    // testowej" (setting Odp), asked again for every question put on screen.
    std::function<bool()> everyAnswerInTestForm;
    // Saves one result line to the results log. `lineText` is the line
    // without its number: the log numbers it with its new length and writes
    // "k. " + lineText. Then `done` is called, on the caller's thread: with
    // nothing once the line is in the log, or with the failure (the result
    // then waits on the computer, or could not be kept: the error says).
    // A port may call `done` before it returns, or later, when the file
    // server has answered; the window goes on meanwhile.
    // `record` is the exam's answers' record (AnswerRecord.h), its line
    // number not yet known: it goes with the line, and waits with it.
    using TSaved = std::function<void(std::exception_ptr failure)>;
    std::function<void(const std::string& lineText, const TAnswerRecord& record, TSaved done)>
        saveResultLine;
    IMessageBox& messages;
    ILocalClock& clock;
    const IRegionalSettings& regional;
    const ITextMeasure& measure;
    // Where the exam in progress is journaled, so that it can go on after the
    // program dies; none keeps no journal.
    IExamJournal* journal = nullptr;
    // Whether the results log, or the results waiting for it, already hold
    // the result line `lineText` (without its number). Asked only with a
    // journal; none counts as no.
    std::function<bool(const std::string& lineText)> resultStored = {};
    // Makes sure the record of the stored result line `lineText` reaches the
    // records beside the log, once; asked when a finish interrupted by a crash
    // had stored its line. Never throws.
    std::function<void(const std::string& lineText, const TAnswerRecord& record)> keepRecord = {};
    // The live states of "Losowa kolejność pytań" and "Losowa kolejność
    // odpowiedzi", asked when an exam starts; none keeps the file's order.
    std::function<TShuffle()> shuffle = {};
    // The seed of an exam's order; none draws a fresh one (FreshSeed).
    std::function<std::uint64_t()> seed = {};
};

} // namespace kwizmar
