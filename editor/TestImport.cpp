// The questions of a test of this program, merged into the test being
// edited: from a .ts2 file or from its text source.
#include "QuestionImport.h"

#include "AnswerLetters.h"
#include "Cp1250.h"
#include "DocumentChecks.h"
#include "StrToInt.h"
#include "TestCheck.h"
#include "TestSource.h"
#include "Text.h"

namespace kwizmar {

namespace {

// Tests are written in the Polish formats; the checks described here read
// no date anyway.
class TPolishFormats final : public IRegionalSettings {
public:
    std::string ShortDateFormat() const override { return kPolishShortDateFormat; }
    std::string LongTimeFormat() const override { return kPolishLongTimeFormat; }
};

bool IsNameLine(std::string_view line) {
    return line.size() >= 2 && line.front() == '"' && line.back() == '"';
}

// The lines of the test the bytes hold, if they hold one. A text source has
// the name in double quotes on its second line and the number of questions
// on its fifth; the stored bytes of a .ts2 file have the name, descrambled
// and readable.
std::optional<TTestFile> TestIn(std::string_view bytes) {
    std::string_view text = bytes;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::string utf8 = IsValidUtf8(text) ? std::string(text) : Cp1250ToUtf8(text);
    const std::vector<std::string_view> split = SplitLines(utf8);
    if (split.size() >= 7 && IsNameLine(split[1]) && TryStrToInt(split[4]))
        return TTestFile(std::vector<std::string>(split.begin(), split.end()));
    TTestFile stored = TTestFile::FromStoredBytes(bytes);
    if (stored.LineCount() >= 7 && IsNameLine(stored.Line(1)) && !LineProblem(stored.Line(1)))
        return stored;
    return std::nullopt;
}

// Why a question of the test can't join another as it stands: what the
// editor's checks call an error of its shape, and what would stop an exam or
// make it score wrongly (kwizmar-ts2 check says the same).
std::optional<std::string> QuestionProblem(const TQuestion& q) {
    if (q.text.empty())
        return "pytanie nie ma treści";
    const int count = AnswerCount(q);
    if (count == 0)
        return "pytanie nie ma odpowiedzi";
    if (count < FewestAnswers())
        return "ma " + std::to_string(count) + " " +
               PolishPlural(count, "odpowiedź", "odpowiedzi", "odpowiedzi") +
               ", a pytanie testu musi mieć co najmniej " + std::to_string(FewestAnswers());
    for (int a = 0; a < count; ++a)
        if (q.answers[static_cast<std::size_t>(a)].empty())
            return std::string("odpowiedź ") + kAnswerCapitals[a] + " jest pusta";
    if (auto problem = CorrectLetterProblem(q.correctLetter))
        return problem;
    if (const int correct = AnswerIndex(q.correctLetter);
        q.answers[static_cast<std::size_t>(correct)].empty())
        return std::string("poprawna odpowiedź ") + kAnswerCapitals[correct] + " jest pusta";
    if (auto problem = PointsProblem(q.points))
        return problem;
    if (const TSelfAnswer self = ParseSelfAnswerLine(q.selfAnswerLine); self.hasSelfAnswer)
        return BonusProblem(self.selfAnswerExtra);
    return std::nullopt;
}

} // namespace

std::optional<TImportedQuestions> ImportTest(std::string_view bytes) {
    const std::optional<TTestFile> file = TestIn(bytes);
    if (!file)
        return std::nullopt;
    TImportedQuestions out;
    // The number of questions is on line 5.
    const std::optional<int> n = TryStrToInt(file->Line(4));
    if (!n) {
        out.refusals.push_back(
            {5, "liczba pytań " + Quoted(file->Line(4)) + " nie jest liczbą całkowitą"});
        return out;
    }
    if (*n <= 0) {
        out.refusals.push_back({5, "test nie ma żadnego pytania"});
        return out;
    }
    if (static_cast<long long>(file->LineCount()) < 9LL * *n + 7) {
        out.refusals.push_back(
            {5, DescribeRejection({TTestCheck::LineCount, 4}, *file, TPolishFormats())});
        return out;
    }
    for (int k = 1; k <= *n; ++k) {
        TQuestion q = file->Question(k);
        if (auto problem = QuestionProblem(q))
            out.refusals.push_back({static_cast<int>(QuestionLine(k, 0)) + 1, std::move(*problem)});
        else
            out.questions.push_back(std::move(q));
    }
    return out;
}

} // namespace kwizmar
