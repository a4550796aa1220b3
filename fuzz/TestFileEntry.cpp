// The test reader, from the stored bytes to whole exams.
#include "FuzzEntries.h"

#include "AnswerLetters.h"
#include "EgzaminLogic.h"
#include "Errors.h"
#include "TempDir.h"
#include "TestFixtures.h"

#include <algorithm>
#include <functional>

namespace kwizmar::fuzz {

namespace {

using testing::TFakeMeasure;
using testing::TFakeRegional;
using testing::TFixedClock;
using testing::TSilentMessages;

// An operation of the exam; a number that doesn't convert stops it, as the
// window would show the error and go on.
void Act(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const EConvertError&) {
    }
}

// The most questions an exam is answered through before its time is let run out.
constexpr int kMaxAnswered = 64;
constexpr const char* kExamMinutes = "5";

// The main window's logic on a test file, with the result lines it logs.
class TExamRun {
public:
    explicit TExamRun(const std::string& path) {
        logic_.LoadTestFile(path);
        Require(logic_.loadedTest().test.has_value(), "an accepted file loads");
        logic_.SetUserName("Tester");
        logic_.ClampExamMinutes(kExamMinutes);
    }

    // Starts an exam and answers its questions in turn, alternating the forms
    // and right and wrong answers, then lets the clock run out.
    void AnswerEach() {
        Act([&] { logic_.StartExam(); });
        const TEgzaminView& v = logic_.view();
        for (int step = 0; step < kMaxAnswered && v.Czas; ++step) {
            // Every step offers each control in turn; the ones not on screen
            // at the moment do nothing.
            const auto mode = step % 2 ? TAnswerMode::SelfTyped : TAnswerMode::TestForm;
            Act([&] { logic_.ChooseFormOption(mode); });
            Act([&] { logic_.ChooseAnswerForm(); });
            Act([&] {
                logic_.SetTypedAnswer(step % 4 == 1 ? logic_.state().correctAnswerText : "x");
            });
            Act([&] { logic_.CheckTypedAnswer(); });
            Act([&] { logic_.FallBackToTestForm(); });
            Act([&] { logic_.ChooseAnswer(kAnswerLetters[step % kAnswerCount]); });
            Act([&] { logic_.CheckTestAnswer(); });
            Act([&] { logic_.GoToNextQuestion(); });
        }
        RunOutOfTime();
    }

    // Starts an exam and answers nothing until the time is up.
    void LeaveToTheClock() {
        everyAnswerInTestForm_ = true;
        Act([&] { logic_.SpeedButton9Click(); });
        Act([&] { logic_.StartExam(); });
        RunOutOfTime();
    }

    std::size_t LoggedLines() const { return log_.size(); }

private:
    void RunOutOfTime() {
        const int ticks = 60 * std::stoi(kExamMinutes) + 1;
        for (int t = 0; t < ticks && logic_.view().Czas; ++t)
            logic_.ClockTick();
        Require(!logic_.view().Czas, "the clock stops at 0:00 at the latest");
        Require(logic_.view().Panel4.visible, "a finished exam shows its summary");
    }

    TFakeRegional regional_;
    TFakeMeasure measure_;
    TSilentMessages messages_;
    TFixedClock clock_;
    bool everyAnswerInTestForm_ = false;
    std::vector<std::string> log_;
    TEgzaminLogic logic_{
        TExamPorts{[](const std::string&) {}, [this] { return everyAnswerInTestForm_; },
                   [this](const std::string& line, const TAnswerRecord&,
                          const TExamPorts::TSaved& done) {
                       log_.push_back(line);
                       done(nullptr);
                   },
                   messages_, clock_, regional_, measure_}};
};

void CheckNormalised(std::string_view text) {
    Require(text.find('\0') == std::string_view::npos, "no byte 0 is left after normalising");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            Require(i + 1 < text.size() && text[i + 1] == '\n', "every CR is followed by LF");
        if (text[i] == '\n')
            Require(i > 0 && text[i - 1] == '\r', "every LF follows a CR");
    }
}

void CheckSelfAnswerLine(const std::string& line) {
    const TSelfAnswer self = ParseSelfAnswerLine(line);
    Require(self.hasSelfAnswer == line.starts_with("TAK"), "only \"TAK…\" offers a typed answer");
    if (self.hasSelfAnswer)
        Require(line.ends_with(self.selfAnswerExtra), "the extra points are the line's end");
    else
        Require(self.selfAnswerExtra.empty(), "no typed answer has no extra points");
}

// One folder per process for the file the exam loads.
const testing::TTempDir& ExamFolder() {
    static const testing::TTempDir dir;
    return dir;
}

} // namespace

void Require(bool kept, const char* what) {
    if (!kept)
        throw EBrokenPromise(what);
}

void TestFileEntry(std::string_view bytes) {
    const std::string normalised = NormaliseStoredText(bytes);
    CheckNormalised(normalised);
    const TTestFile file = TTestFile::FromStoredBytes(bytes);
    const std::vector<std::string> lines = SplitTestLines(DescrambleTest(normalised));
    Require(file.Lines() == lines, "the test file reads the lines a whole split gives");
    Require(file.LineCount() == lines.size(), "the line count is the number of lines");
    for (const std::string& line : lines) {
        Require(line.find("\r\n") == std::string::npos, "no line holds a CR LF");
        CheckSelfAnswerLine(line);
    }

    for (const char* format : {kPolishShortDateFormat, "M/d/yy", "yyyy-MM-dd"}) {
        const TFakeRegional regional(format);
        const TValidation onFile = ValidateTestDetailed(file, regional);
        const TValidation onLines = ValidateTestDetailed(lines, regional);
        Require(onFile.failed == onLines.failed && onFile.line == onLines.line,
                "a test file validates as its lines do");
    }

    // A question reads the nine lines from its first one, for any number.
    const int questions = std::min<int>(static_cast<int>(lines.size() / 9) + 1, 200);
    for (int k : {-2000000000, -1, 0, 1, questions}) {
        const TQuestion q = file.Question(k);
        const std::int64_t first = QuestionLine(k, 0);
        auto at = [&](int offset) {
            const std::int64_t i = first + offset;
            return i >= 0 && i < static_cast<std::int64_t>(lines.size())
                       ? lines[static_cast<std::size_t>(i)]
                       : std::string();
        };
        Require(q.text == at(0) && q.answers[4] == at(5) && q.selfAnswerLine == at(8),
                "question k is lines 7 + 9·(k − 1) onwards");
    }

    if (!ValidateTest(file, TFakeRegional()))
        return;
    TExamRun run(ExamFolder().Write("test.ts2", std::string(bytes)));
    run.AnswerEach();
    Require(run.LoggedLines() == 1, "an exam answered in turn logs exactly one result line");
    run.LeaveToTheClock();
    Require(run.LoggedLines() == 2, "an exam left to the clock logs exactly one result line");
}

} // namespace kwizmar::fuzz
