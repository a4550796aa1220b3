#pragma once

#include "ExamPorts.h"

#include <functional>

namespace kwizmar {

class TResultsLog;
class TSettings;

// The exam's ports on the program's own parts: the settings store, the live
// option, the results log, Qt's message boxes and the system clock.

class TSettingsUserNameStore final : public IUserNameStore {
public:
    explicit TSettingsUserNameStore(TSettings& settings) : settings_(settings) {}
    void StoreUserName(const std::string& name) override;

private:
    TSettings& settings_;
};

class TLiveExamOptions final : public IExamOptions {
public:
    explicit TLiveExamOptions(std::function<bool()> everyAnswerInTestForm)
        : read_(std::move(everyAnswerInTestForm)) {}
    bool EveryAnswerInTestForm() const override { return read_(); }

private:
    std::function<bool()> read_;
};

class TResultsLogAppender final : public IResultsLogAppender {
public:
    explicit TResultsLogAppender(TResultsLog& log) : log_(log) {}
    void AppendResultLine(const std::string& lineText) override;

private:
    TResultsLog& log_;
};

// A message box titled with the application title, one OK button.
class TQtMessageBox final : public IMessageBox {
public:
    void ShowMessage(const std::string& text) override;
};

class TSystemClock final : public ILocalClock {
public:
    TLocalDateTime Now() const override;
};

} // namespace kwizmar
