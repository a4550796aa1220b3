#include "TestCheck.h"

#include "AnswerLetters.h"
#include "StrToInt.h"
#include "TestLoader.h"
#include "Text.h"

namespace kwizmar {

namespace {

std::string LineName(int index) {
    switch (index) {
    case 1:
        return "nazwa testu";
    case 3:
        return "data utworzenia";
    case 4:
        return "liczba pytań";
    case 5:
        return "maksymalna liczba punktów";
    case 6:
        return "liczba odpowiedzi samodzielnych";
    default:
        return "";
    }
}

std::string SystemDateFormatName(const std::string& format) {
    return "w krótkim formacie daty systemu (" + format + ")";
}

std::string PolishDateFormatName() {
    return std::string("w polskim formacie daty (") + kPolishShortDateFormat + ")";
}

// What passes the loader but stops an exam or shows wrong numbers.
std::vector<std::string> ExamNotes(const TTestFile& file) {
    std::vector<std::string> notes;
    const int n = *TryStrToInt(file.Line(4));
    long long sum = 0;
    int selfAnswers = 0;
    for (int k = 1; k <= n; ++k) {
        const TQuestion q = file.Question(k);
        auto at = [&](int offset) {
            return "pytanie " + std::to_string(k) + ", wiersz " +
                   std::to_string(QuestionLine(k, offset) + 1) + ": ";
        };
        if (const auto problem = CorrectLetterProblem(q.correctLetter))
            notes.push_back(at(6) + *problem);
        if (const auto problem = PointsProblem(q.points))
            notes.push_back(at(7) + *problem);
        else
            sum += *TryStrToInt(q.points);
        const TSelfAnswer self = ParseSelfAnswerLine(q.selfAnswerLine);
        if (self.hasSelfAnswer) {
            ++selfAnswers;
            if (const auto problem = BonusProblem(self.selfAnswerExtra))
                notes.push_back(at(8) + *problem);
        }
    }
    if (const auto differs = MaxPointsDiffers(file.Line(5), sum))
        notes.push_back("wiersz 6: " + *differs);
    if (const auto differs = SelfAnswerCountDiffers(file.Line(6), selfAnswers))
        notes.push_back("wiersz 7: " + *differs);
    return notes;
}

} // namespace

std::string Quoted(std::string_view text) {
    return "„" + std::string(text) + "”";
}

std::string DescribeRejection(const TValidation& v, const TTestFile& file,
                              const IRegionalSettings& regional) {
    const std::string where =
        "wiersz " + std::to_string(v.line + 1) + " (" + LineName(v.line) + "): ";
    const std::string text = file.Line(static_cast<std::size_t>(v.line));
    switch (v.failed) {
    case TTestCheck::NameQuoted:
        return where + "nazwa musi być niepusta i ujęta w znaki \" na początku i na końcu, jest " +
               Quoted(text);
    case TTestCheck::DateConverts:
        return where + Quoted(text) + " nie jest datą ani " +
               SystemDateFormatName(regional.ShortDateFormat()) + ", ani " + PolishDateFormatName();
    case TTestCheck::QuestionCountInteger:
    case TTestCheck::MaxPointsInteger:
    case TTestCheck::SelfAnswerCountInteger:
        return where + Quoted(text) + " nie jest liczbą całkowitą";
    case TTestCheck::LineCount: {
        const long long n = *TryStrToInt(text);
        const auto lines = static_cast<long long>(file.LineCount());
        return "plik ma " + std::to_string(lines) + " " +
               PolishPlural(lines, "wiersz", "wiersze", "wierszy") + ", a test o " +
               std::to_string(n) + " " + (n == 1 ? "pytaniu" : "pytaniach") +
               " potrzebuje co najmniej 9 · " + std::to_string(n) +
               " + 7 = " + std::to_string(9 * n + 7);
    }
    case TTestCheck::None:
        break;
    }
    return {};
}

std::string DateFormatName(const TCreationDate& created) {
    return created.formatUsed == TDateFormatUsed::Polish ? PolishDateFormatName()
                                                         : SystemDateFormatName(created.format);
}

std::optional<std::string> CorrectLetterProblem(std::string_view letter) {
    if (AnswerIndex(letter) >= 0)
        return std::nullopt;
    std::string letters;
    for (const char* l : kAnswerLetters)
        letters += (letters.empty() ? "" : ", ") + std::string(l);
    return "poprawna odpowiedź " + Quoted(letter) + " nie jest jedną z liter " + letters;
}

std::optional<std::string> PointsProblem(std::string_view points) {
    if (TryStrToInt(points))
        return std::nullopt;
    return "punkty " + Quoted(points) + " nie są liczbą całkowitą";
}

std::optional<std::string> BonusProblem(std::string_view extra) {
    if (TryStrToInt(extra))
        return std::nullopt;
    return "dodatkowe punkty " + Quoted(extra) + " nie są liczbą całkowitą";
}

std::optional<std::string> MaxPointsDiffers(std::string_view maxPoints, long long pointsSum) {
    const auto max = TryStrToInt(maxPoints);
    if (max && *max == pointsSum)
        return std::nullopt;
    return "maksymalna liczba punktów " + std::string(maxPoints) +
           " różni się od sumy punktów pytań (" + std::to_string(pointsSum) + ")";
}

std::optional<std::string> SelfAnswerCountDiffers(std::string_view selfAnswerCount,
                                                  int selfAnswers) {
    const auto count = TryStrToInt(selfAnswerCount);
    if (count && *count == selfAnswers)
        return std::nullopt;
    return "liczba odpowiedzi samodzielnych " + std::string(selfAnswerCount) +
           " różni się od liczby pytań z odpowiedzią samodzielną (" + std::to_string(selfAnswers) +
           ")";
}

TCheckReport CheckTestFile(const std::string& path, std::string_view stored,
                           const IRegionalSettings& regional) {
    TCheckReport report;
    if (!HasTestFileExtension(path)) {
        report.rejection = "rozszerzenie nazwy pliku musi być dokładnie .ts2 albo .TS2";
        return report;
    }
    const TTestFile file = TTestFile::FromStoredBytes(stored);
    const TValidation validation = ValidateTestDetailed(file, regional);
    if (!validation.ok()) {
        report.rejection = DescribeRejection(validation, file, regional);
        return report;
    }
    const TCreationDate created = *ParseCreationDate(file.Line(3), regional);
    report.dateFormat = "data utworzenia: " + Quoted(file.Line(3)) + " " + DateFormatName(created);
    report.notes = ExamNotes(file);
    const long long questions = *TryStrToInt(file.Line(4));
    report.summary = "test " + file.Line(1) + ": " + file.Line(4) + " " +
                     PolishPlural(questions, "pytanie", "pytania", "pytań") + ", " + file.Line(5) +
                     " pkt, odpowiedzi samodzielnych: " + file.Line(6);
    return report;
}

} // namespace kwizmar
