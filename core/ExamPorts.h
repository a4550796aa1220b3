#pragma once

#include "RegionalSettings.h"
#include "TextMeasure.h"

#include <string>

// What the exam needs from outside the toolkit-free core. The application
// implements these over the settings store, the options window, the results
// log, its message boxes and the system clock; tests use fakes.

namespace kwizmar {

// Stores the examinee's name as the setting UserName. May throw the settings
// store's EPlatformError; the start then stops there.
class IUserNameStore {
public:
    virtual ~IUserNameStore() = default;
    virtual void StoreUserName(const std::string& name) = 0;
};

// The live state of the option "Wyświetlaj każdą opowiedź w formie testowej"
// (setting Odp), asked again for every question put on screen.
class IExamOptions {
public:
    virtual ~IExamOptions() = default;
    virtual bool EveryAnswerInTestForm() const = 0;
};

// Appends one result line to the results log. `lineText` is the line without
// its number: the log loads itself, numbers the line with its new length and
// writes "k. " + lineText. Throws (for example EFCreateError, "Cannot create
// file %s") when the log can't be read or written.
class IResultsLogAppender {
public:
    virtual ~IResultsLogAppender() = default;
    virtual void AppendResultLine(const std::string& lineText) = 0;
};

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
};

// Everything the main window's logic is given at its creation; the objects
// must outlive it.
struct TExamPorts {
    IUserNameStore& userNameStore;
    IExamOptions& options;
    IResultsLogAppender& resultsLog;
    IMessageBox& messages;
    ILocalClock& clock;
    const IRegionalSettings& regional;
    const ITextMeasure& measure;
};

} // namespace kwizmar
