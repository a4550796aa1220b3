#pragma once

#include "EgzaminLogic.h"
#include "ExamPorts.h"
#include "TestFixtures.h"

#include <functional>
#include <string>
#include <vector>

namespace kwizmar::testing {

struct TFakeUserNameStore {
    std::vector<std::string> stored;
};

struct TFakeOptions {
    bool odp = false;
};

// Numbers its lines the way the results log does; `failWith` makes the next
// appends fail as a log that can't be written. With `answerLater`, a save is
// held until Answer(), as a file server that takes its time.
class TFakeResultsLog {
public:
    void AppendResultLine(const std::string& lineText);
    void Save(const std::string& lineText, const TAnswerRecord& record,
              const TExamPorts::TSaved& done);
    // Answers the save held longest; what the window passes on.
    void Answer();
    std::vector<std::string> lines;
    // The records of the lines written, and those kept after a restart.
    std::vector<TAnswerRecord> records, keptRecords;
    std::string failWith;
    bool answerLater = false;
    std::vector<std::function<void()>> held;
};

class TFakeMessages final : public IMessageBox {
public:
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class TFakeClock final : public ILocalClock {
public:
    TLocalDateTime Now() const override { return now; }
    std::int64_t EpochSeconds() const override { return epoch; }
    TLocalDateTime now{{2002, 5, 6}, {10, 15, 0}};
    std::int64_t epoch = 1020680100; // moved on by the harness's clock ticks
};

// Keeps every journal written, in order; `removed` once the journal is gone.
class TFakeJournal final : public IExamJournal {
public:
    void Write(const TExamJournal& journal) noexcept override {
        written.push_back(journal);
        removed = false;
    }
    void Remove() noexcept override { removed = true; }
    std::vector<TExamJournal> written;
    bool removed = false;
};

// 7 px per character, except the banner, whose text is `bannerWidth` wide
// when that is set.
class TBannerMeasure final : public ITextMeasure {
public:
    int TextWidth(std::string_view utf8, const TFontSpec& font) const override;
    int bannerWidth = 0;
};

// The main window's logic with fakes for everything outside the core.
class TEgzaminHarness {
public:
    TEgzaminHarness();

    // Writes the lines as a test file and loads it.
    void Load(const std::vector<std::string>& lines, const std::string& fileName = "test.ts2");
    // Loads the lines and starts an exam for "Tester".
    void Begin(const std::vector<std::string>& lines, const std::string& minutes = "10");

    void Enter(const std::string& focus);
    // Seconds of the exam clock; the computer's clock moves with them.
    void Ticks(int count);
    // Answers the question on screen in the test form, choosing the test form
    // first when the chooser is up, and confirms the verdict.
    void AnswerInTestForm(const std::string& letter);
    void ChooseForm(TAnswerMode mode);
    void Type(const std::string& text);

    const TEgzaminView& view() const { return logic.view(); }
    const TExamState& state() const { return logic.state(); }

    TTempDir dir;
    TFakeUserNameStore names;
    TFakeOptions options;
    TFakeResultsLog log;
    TFakeMessages messages;
    TFakeClock clock;
    TFakeJournal journal;
    TFakeRegional regional;
    TBannerMeasure measure;
    // The options of the exam's own order, and its seed.
    TShuffle shuffle;
    std::uint64_t seed = 1;
    TEgzaminLogic logic;
};

// ValidTestLines(n) with the self-answer line of question k replaced.
std::vector<std::string> WithSelfAnswer(std::vector<std::string> lines, int k,
                                        const std::string& selfAnswerLine);
// Replaces line `offset` (0 … 8) of question k.
std::vector<std::string> WithQuestionLine(std::vector<std::string> lines, int k, int offset,
                                          const std::string& text);

} // namespace kwizmar::testing
