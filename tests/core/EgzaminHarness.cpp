#include "EgzaminHarness.h"

#include "Banner.h"
#include "Errors.h"

namespace kwizmar::testing {

void TFakeResultsLog::AppendResultLine(const std::string& lineText) {
    if (!failWith.empty())
        throw EFCreateError(failWith);
    lines.push_back(std::to_string(lines.size() + 1) + ". " + lineText);
}

void TFakeResultsLog::Save(const std::string& lineText, const TAnswerRecord& record,
                           const TExamPorts::TSaved& done) {
    auto save = [this, lineText, record, done] {
        std::exception_ptr failure;
        try {
            AppendResultLine(lineText);
            records.push_back(record);
        } catch (...) {
            failure = std::current_exception();
        }
        done(failure);
    };
    if (answerLater)
        held.push_back(save);
    else
        save();
}

void TFakeResultsLog::Answer() {
    const auto save = held.front();
    held.erase(held.begin());
    save();
}

int TBannerMeasure::TextWidth(std::string_view utf8, const TFontSpec& font) const {
    if (bannerWidth > 0 && font.family == BannerFont().family)
        return bannerWidth;
    return 7 * static_cast<int>(CodePointCount(utf8));
}

TEgzaminHarness::TEgzaminHarness()
    : logic(TExamPorts{[this](const std::string& name) { names.stored.push_back(name); },
                       [this] { return options.odp; },
                       [this](const std::string& line, const TAnswerRecord& record,
                              const TExamPorts::TSaved& done) { log.Save(line, record, done); },
                       messages, clock, regional, measure, &journal,
                       [this](const std::string& text) {
                           for (const std::string& line : log.lines)
                               if (line.ends_with(". " + text))
                                   return true;
                           return false;
                       },
                       [this](const std::string&, const TAnswerRecord& record) {
                           log.keptRecords.push_back(record);
                       },
                       [this] { return shuffle; }, [this] { return seed; }}) {}

void TEgzaminHarness::Load(const std::vector<std::string>& lines, const std::string& fileName) {
    logic.LoadTestFile(dir.Write(fileName, MakeTs2(lines)));
}

void TEgzaminHarness::Begin(const std::vector<std::string>& lines, const std::string& minutes) {
    Load(lines);
    logic.SetUserName("Tester");
    logic.ClampExamMinutes(minutes);
    logic.StartExam();
}

void TEgzaminHarness::Enter(const std::string& focus) {
    logic.SetFocus(focus);
    logic.PressEnter();
}

void TEgzaminHarness::Ticks(int count) {
    for (int i = 0; i < count; ++i) {
        ++clock.epoch;
        logic.ClockTick();
    }
}

void TEgzaminHarness::AnswerInTestForm(const std::string& letter) {
    if (view().SAMPanel.visible)
        ChooseForm(TAnswerMode::TestForm);
    logic.ChooseAnswer(letter);
    logic.CheckTestAnswer();
    logic.GoToNextQuestion();
}

void TEgzaminHarness::ChooseForm(TAnswerMode mode) {
    logic.ChooseFormOption(mode);
    logic.ChooseAnswerForm();
}

void TEgzaminHarness::Type(const std::string& text) {
    logic.SetTypedAnswer(text);
}

std::vector<std::string> WithSelfAnswer(std::vector<std::string> lines, int k,
                                        const std::string& selfAnswerLine) {
    return WithQuestionLine(std::move(lines), k, 8, selfAnswerLine);
}

std::vector<std::string> WithQuestionLine(std::vector<std::string> lines, int k, int offset,
                                          const std::string& text) {
    lines.at(static_cast<std::size_t>(QuestionLine(k, offset))) = text;
    return lines;
}

} // namespace kwizmar::testing
