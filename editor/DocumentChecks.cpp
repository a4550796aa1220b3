#include "DocumentChecks.h"

#include "AnswerLetters.h"
#include "Cp1250.h"
#include "QuestionPreview.h"
#include "StrToInt.h"
#include "TestCheck.h"
#include "TestSource.h"

namespace kwizmar {

namespace {

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// Every character of a valid UTF-8 line that Windows-1250 lacks, at once and
// with what to do; empty when the line has none (or another problem first).
std::string MissingFromCodePage(std::string_view line) {
    std::string chars, columns;
    int count = 0;
    std::size_t column = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t start = pos;
        char32_t cp = 0;
        ++column;
        if (!NextCodePoint(line, pos, cp) || (cp < 0x20 && cp != '\t') || cp == 0x7F)
            return {};
        if (InCp1250(cp))
            continue;
        const std::string ch(line.substr(start, pos - start));
        if (chars.find("„" + ch + "”") == std::string::npos) {
            chars += std::string(chars.empty() ? "" : ", ") + "„" + ch + "”";
            ++count;
        }
        columns += std::string(columns.empty() ? "" : ", ") + std::to_string(column);
    }
    if (count == 0)
        return {};
    const bool one = count == 1;
    return std::string(one ? "Znaku " : "Znaków ") + chars +
           " nie ma w stronie kodowej Windows-1250, w której zapisuje się testy (" +
           (columns.find(',') == std::string::npos ? "znak " : "znaki ") + columns + "). " +
           (one ? "Zastąp go" : "Zastąp je") +
           " zwykłymi znakami, np. „½” jako „1/2”, „≤” jako „<=”; do tego czasu test można "
           "zachować jako szkic.";
}

class TChecker {
public:
    TChecker(const TTestDocument& doc, const IRegionalSettings& regional,
             const ITextMeasure& measure)
        : doc_(doc), regional_(regional), measure_(measure) {}

    std::vector<TCheck> RunHeader() {
        CheckHeader();
        if (doc_.questions.empty())
            Error({TField::Questions}, "Test nie ma żadnego pytania.");
        return std::move(checks_);
    }
    std::vector<TCheck> RunQuestion(int k) {
        CheckQuestion(k);
        return std::move(checks_);
    }

private:
    void Error(TFieldRef where, std::string text) {
        checks_.push_back({where, TSeverity::Error, std::move(text)});
    }
    void Warning(TFieldRef where, std::string text) {
        checks_.push_back({where, TSeverity::Warning, std::move(text)});
    }

    // The line problems of the loader's format; true when there was one.
    bool Carry(TFieldRef where, std::string_view line) {
        const auto problem = LineProblem(line);
        if (!problem)
            return false;
        if (const std::string missing = MissingFromCodePage(line); !missing.empty()) {
            Error(where, missing);
            return true;
        }
        Error(where, problem->column
                         ? "Znak " + std::to_string(problem->column) + ": " + problem->text + "."
                         : "Tekst " + problem->text + ".");
        return true;
    }

    void CheckHeader() {
        if (!Carry({TField::Description}, doc_.description) &&
            AllDisplayLines(doc_.description, measure_).size() > kShownDescriptionLines)
            Warning({TField::Description},
                    "Na stronie startowej widać tylko dwa wiersze opisu; reszta zostanie ucięta.");
        if (!Carry({TField::Name}, doc_.nameLine)) {
            const std::string name = NameOfLine(doc_.nameLine);
            if (name.empty())
                Error({TField::Name}, "Podaj nazwę testu.");
            else if (name.front() == '"' || name.back() == '"')
                Warning({TField::Name}, "Cudzysłów wokół nazwy program dopisuje sam; ten "
                                        "wpisany zobaczysz podwójnie.");
        }
        Carry({TField::Author}, doc_.author);
        if (!Carry({TField::Date}, doc_.createdDate)) {
            // The program reads a date in the Polish format on any computer,
            // after the system's own format fails; only a date no other
            // computer may read needs a word.
            const auto polish = ParseShortDate(doc_.createdDate, kPolishShortDateFormat);
            const auto created = ParseCreationDate(doc_.createdDate, regional_);
            if (!created)
                Error({TField::Date}, Quoted(doc_.createdDate) +
                                          " nie jest datą w formacie dd.mm.rrrr (np. 08.12.2026).");
            else if (!polish)
                Warning({TField::Date},
                        "Data jest zapisana " + DateFormatName(*created) +
                            "; komputer z innymi ustawieniami regionalnymi może jej nie odczytać "
                            "i odrzuci test. Wpisz ją jako dd.mm.rrrr.");
            else if (const std::string full = FormatDate(*polish, kPolishShortDateFormat);
                     full != doc_.createdDate)
                Warning({TField::Date}, "Program pokaże datę tak, jak jest wpisana; w pełnej "
                                        "postaci to " +
                                            full + ".");
        }
        CheckMaxPoints();
    }

    void CheckMaxPoints() {
        const TFieldRef where{TField::MaxPoints};
        const auto sum = PointsSum(doc_);
        // A sum that can't be made is said where it fails (the points, no questions).
        if (!doc_.maxPointsByHand && (!sum || doc_.questions.empty()))
            return;
        const std::string line = MaxPointsLine(doc_);
        if (Carry(where, line))
            return;
        const auto max = TryStrToInt(line);
        if (!max) {
            Error(where,
                  "Maksymalna liczba punktów " + Quoted(line) + " nie jest liczbą całkowitą.");
            return;
        }
        if (*max <= 0) {
            Error(where, "Maksymalna liczba punktów musi być większa od zera: od niej liczy się "
                         "procent i ocena.");
            return;
        }
        if (doc_.maxPointsByHand && sum)
            if (const auto differs = MaxPointsDiffers(line, *sum))
                Warning(where, Capitalised(*differs) +
                                   (*max < *sum ? ": komplet punktów da ponad 100% i ocenę "
                                                  "celującą."
                                                : ": nawet komplet punktów nie da 100%."));
    }

    void CheckQuestion(int k) {
        const TQuestion& q = doc_.questions[static_cast<std::size_t>(k)];
        const TFieldRef text{TField::Text, k};
        if (!Carry(text, q.text)) {
            if (q.text.empty())
                Error(text, "Wpisz treść pytania.");
            else if (AllDisplayLines(q.text + ":", measure_).size() > kShownQuestionLines)
                Warning(text, "W egzaminie widać tylko trzy wiersze pytania; reszta zostanie "
                              "ucięta (zobacz podgląd).");
        }
        for (int a = 0; a < kAnswerCount; ++a) {
            const TFieldRef where{TField::Answer, k, a};
            const std::string& answer = q.answers[static_cast<std::size_t>(a)];
            if (Carry(where, answer))
                continue;
            if (answer.empty()) {
                // Two answers at least; fewer than five leave the last ones
                // empty, as the exam shows them.
                if (a < kMinAnswers)
                    Error(where, std::string("Wpisz odpowiedź ") + kAnswerCapitals[a] +
                                     ": pytanie potrzebuje co najmniej dwóch odpowiedzi.");
                else if (a < AnswerCount(q))
                    Error(where, std::string("Wpisz odpowiedź ") + kAnswerCapitals[a] +
                                     " albo przesuń dalsze wyżej: puste mogą być tylko "
                                     "ostatnie odpowiedzi.");
                continue;
            }
            if (!SplitAnswerLine(answer, measure_).cut.empty())
                Warning(where, "W egzaminie odpowiedź nie zmieści się w wierszu; koniec zostanie "
                               "ucięty (zobacz podgląd).");
            for (int b = 0; b < a; ++b)
                if (q.answers[static_cast<std::size_t>(b)] == answer) {
                    Warning(where,
                            std::string("Taka sama jak odpowiedź ") + kAnswerCapitals[b] + ".");
                    break;
                }
        }
        if (const auto problem = CorrectLetterProblem(q.correctLetter))
            Error({TField::CorrectLetter, k}, Capitalised(*problem) + ": zaznacz poprawną.");
        else if (const int correct = AnswerIndex(q.correctLetter);
                 q.answers[static_cast<std::size_t>(correct)].empty())
            Error({TField::CorrectLetter, k}, std::string("Poprawna odpowiedź ") +
                                                  kAnswerCapitals[correct] +
                                                  " jest pusta: wpisz ją albo zaznacz inną.");
        if (!Carry({TField::Points, k}, q.points)) {
            if (const auto problem = PointsProblem(q.points))
                Error({TField::Points, k}, Capitalised(*problem) + ".");
            else if (*TryStrToInt(q.points) < 0)
                Warning({TField::Points, k},
                        "Ujemne punkty: za poprawną odpowiedź zdający straci punkty.");
        }
        const TSelfAnswer self = ParseSelfAnswerLine(q.selfAnswerLine);
        if (self.hasSelfAnswer && !Carry({TField::Bonus, k}, q.selfAnswerLine))
            if (const auto problem = BonusProblem(self.selfAnswerExtra))
                Error({TField::Bonus, k}, Capitalised(*problem) + ".");
    }

    const TTestDocument& doc_;
    const IRegionalSettings& regional_;
    const ITextMeasure& measure_;
    std::vector<TCheck> checks_;
};

} // namespace

int FewestAnswers() {
    return kMinAnswers;
}

int AnswerCount(const TQuestion& q) {
    int count = 5;
    while (count > 0 && q.answers[static_cast<std::size_t>(count - 1)].empty())
        --count;
    return count;
}

std::string AnswerCountNote(const TQuestion& q) {
    const int count = AnswerCount(q);
    if (count < kMinAnswers || count == kAnswerCount)
        return {};
    std::string empty;
    for (int a = count; a < kAnswerCount; ++a)
        empty += std::string(empty.empty() ? "" : (a == kAnswerCount - 1 ? " i " : ", ")) +
                 kAnswerCapitals[a];
    return "Pytanie ma " + std::to_string(count) + " odpowiedzi. W egzaminie " +
           (count == kAnswerCount - 1 ? "miejsce odpowiedzi " + empty + " będzie puste"
                                      : "miejsca odpowiedzi " + empty + " będą puste") +
           "; zdający może je zaznaczyć, ale to zawsze zła odpowiedź.";
}

std::vector<TCheck> CheckHeaderOf(const TTestDocument& doc, const IRegionalSettings& regional,
                                  const ITextMeasure& measure) {
    return TChecker(doc, regional, measure).RunHeader();
}

std::vector<TCheck> CheckQuestionOf(const TTestDocument& doc, int k,
                                    const IRegionalSettings& regional,
                                    const ITextMeasure& measure) {
    return TChecker(doc, regional, measure).RunQuestion(k);
}

std::vector<TCheck> CheckDocument(const TTestDocument& doc, const IRegionalSettings& regional,
                                  const ITextMeasure& measure) {
    std::vector<TCheck> checks = CheckHeaderOf(doc, regional, measure);
    for (std::size_t k = 0; k < doc.questions.size(); ++k) {
        std::vector<TCheck> more = CheckQuestionOf(doc, static_cast<int>(k), regional, measure);
        checks.insert(checks.end(), more.begin(), more.end());
    }
    return checks;
}

} // namespace kwizmar
