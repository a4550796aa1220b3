#include "QuestionImport.h"

#include "AnswerLetters.h"
#include "Cp1250.h"
#include "DocumentChecks.h"
#include "Errors.h"
#include "GiftMarkup.h"
#include "Paths.h"
#include "StrToInt.h"
#include "TestDocument.h"
#include "Text.h"
#include "WholeFile.h"

#include <optional>

namespace kwizmar {

namespace {

constexpr std::size_t kPlaces = 5; // answers A … E

// The file's text in UTF-8.
std::string FileText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1250ToUtf8(bytes);
}

// Any capital from A on: an Aiken file may name letters past the answers.
std::string Letter(std::size_t index) {
    return std::string(1, static_cast<char>('A' + index));
}

std::string AnswersInWords(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " odpowiedź" : " odpowiedzi");
}

// A question of the test from the texts the file gives, or why it can't be
// one. `points` and `selfAnswerLine` come from this program's own comment.
struct TDraft {
    int line = 0;
    std::string text;
    std::vector<std::string> answers;
    int right = -1;
    std::string points = "1";
    std::string selfAnswerLine = "NIE";
    bool converted = false; // from HTML or Markdown
};

void Finish(TDraft draft, TImportedQuestions& out) {
    auto refuse = [&](std::string reason) { out.refusals.push_back({draft.line, reason}); };
    const std::size_t n = draft.answers.size();
    if (draft.text.empty())
        return refuse("pytanie nie ma treści");
    if (n == 0)
        return refuse("pytanie nie ma odpowiedzi");
    if (n > kPlaces)
        return refuse("ma " + AnswersInWords(n) + ", a pytanie testu może mieć najwyżej " +
                      std::to_string(kPlaces));
    const std::size_t fewest = static_cast<std::size_t>(FewestAnswers());
    if (n < fewest)
        return refuse("ma " + AnswersInWords(n) + ", a pytanie testu musi mieć " +
                      (fewest == kPlaces ? "ich " : "co najmniej ") + std::to_string(fewest));
    for (std::size_t i = 0; i < n; ++i)
        if (draft.answers[i].empty())
            return refuse("odpowiedź " + Letter(i) + " jest pusta");
    TQuestion q = NewQuestion();
    q.text = std::move(draft.text);
    for (std::size_t i = 0; i < n; ++i)
        q.answers[i] = std::move(draft.answers[i]);
    q.correctLetter = kAnswerLetters[draft.right];
    q.points = std::move(draft.points);
    q.selfAnswerLine = std::move(draft.selfAnswerLine);
    out.questions.push_back(std::move(q));
    if (draft.converted)
        out.convertedLines.push_back(draft.line);
}

// ---- Aiken ----

// "A. text" or "B) text": the answer's index and its text.
std::optional<std::pair<std::size_t, std::string_view>> AikenAnswer(std::string_view line) {
    if (line.size() < 2 || line[0] < 'A' || line[0] > 'Z' || (line[1] != '.' && line[1] != ')'))
        return std::nullopt;
    if (line.size() > 2 && line[2] != ' ' && line[2] != '\t')
        return std::nullopt;
    return std::make_pair(static_cast<std::size_t>(line[0] - 'A'), Trim(line.substr(2)));
}

bool IsAikenAnswerLine(std::string_view line) {
    return line.size() >= 7 && SameTextIgnoringCase(line.substr(0, 7), "ANSWER:");
}

} // namespace

TImportedQuestions ImportAiken(std::string_view bytes) {
    const std::string text = FileText(bytes);
    TImportedQuestions out;
    std::optional<TDraft> draft;
    std::string problem; // the first fault of the question being read
    auto refuse = [&](std::string reason) {
        out.refusals.push_back({draft->line, std::move(reason)});
        draft.reset();
    };
    const auto lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::string_view line = Trim(lines[i]);
        if (line.empty())
            continue;
        if (IsAikenAnswerLine(line)) {
            if (!draft) {
                out.refusals.push_back({number, "wiersz „ANSWER:” bez pytania przed nim"});
                continue;
            }
            const std::string_view letter = Trim(line.substr(7));
            const std::size_t n = draft->answers.size();
            if (!problem.empty())
                refuse(problem);
            else if (n == 0)
                refuse("pytanie nie ma odpowiedzi");
            else if (letter.size() != 1 || (letter[0] | 0x20) < 'a' || (letter[0] | 0x20) > 'z')
                refuse("po „ANSWER:” nie ma litery poprawnej odpowiedzi");
            else if (const std::size_t right = static_cast<std::size_t>((letter[0] | 0x20) - 'a');
                     right >= n)
                refuse("„ANSWER: " + Letter(right) + "” wskazuje odpowiedź, której nie ma");
            else {
                draft->right = static_cast<int>(right);
                Finish(std::move(*draft), out);
                draft.reset();
            }
            continue;
        }
        if (const auto answer = AikenAnswer(line)) {
            if (!draft) {
                draft.emplace();
                draft->line = number;
                problem.clear();
            }
            const std::size_t expected = draft->answers.size();
            if (problem.empty() && answer->first != expected)
                problem = "odpowiedź " + Letter(answer->first) + " stoi w miejscu odpowiedzi " +
                          Letter(expected);
            draft->answers.emplace_back(answer->second);
            continue;
        }
        if (draft && !draft->answers.empty())
            refuse("po odpowiedziach brak wiersza „ANSWER: litera”");
        if (!draft) {
            draft.emplace();
            draft->line = number;
            problem.clear();
        }
        if (!draft->text.empty())
            draft->text += ' ';
        draft->text += line;
    }
    if (draft)
        refuse(draft->answers.empty() ? "pytanie nie ma odpowiedzi"
                                      : "po odpowiedziach brak wiersza „ANSWER: litera”");
    return out;
}

namespace {

// ---- GIFT ----

// The position of the first `c` at or after `from` that no backslash escapes
// and, in a text in HTML or Markdown, that no tag (<p dir="ltr">) or numeric
// character reference (&#243;) holds.
std::size_t FindUnescaped(std::string_view s, char c, std::size_t from = 0,
                          TTextFormat format = TTextFormat::Plain) {
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
            continue;
        }
        if (format != TTextFormat::Plain && i + 1 < s.size()) {
            const char next = s[i + 1];
            const bool tag =
                s[i] == '<' && (next == '/' || ((next | 0x20) >= 'a' && (next | 0x20) <= 'z'));
            if (const std::size_t close = tag ? s.find('>', i) : std::string_view::npos;
                close != std::string_view::npos) {
                i = close;
                continue;
            }
            if (s[i] == '&' && next == '#') {
                ++i;
                continue;
            }
        }
        if (s[i] == c)
            return i;
    }
    return std::string_view::npos;
}

std::size_t FindUnescaped(std::string_view s, std::string_view what, std::size_t from = 0) {
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == '\\')
            ++i;
        else if (s.substr(i).starts_with(what))
            return i;
    }
    return std::string_view::npos;
}

// The text with its escapes read and its lines joined by a space, or kept
// (for a text in Markdown, whose lines count).
std::string Unescaped(std::string_view s, bool keepLines = false) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size()) {
            const char next = s[i + 1];
            if (std::string_view("~=#{}:%\\").find(next) != std::string_view::npos) {
                out += next;
                ++i;
                continue;
            }
            if (next == 'n') {
                out += keepLines ? '\n' : ' ';
                ++i;
                continue;
            }
        }
        out += c == '\n' && !keepLines ? ' ' : c;
    }
    return std::string(Trim(out));
}

TTextFormat FormatOfMark(std::string_view mark) {
    if (mark == "[html]" || mark == "[moodle]")
        return TTextFormat::Html;
    return mark == "[markdown]" ? TTextFormat::Markdown : TTextFormat::Plain;
}

// A text of the question as the test shows it: the escapes read first (they
// are GIFT's, around whatever the text is written in), then its markup.
// `whose` names it in a refusal: "pytanie", "odpowiedź B".
std::optional<std::string> Shown(std::string_view raw, TTextFormat format, std::string whose,
                                 std::string& shown) {
    if (format == TTextFormat::Plain) {
        shown = Unescaped(raw);
        return std::nullopt;
    }
    TPlainText plain = ToPlainText(Unescaped(raw, format == TTextFormat::Markdown), format);
    if (!plain.refused.empty())
        return whose + " zawiera " + plain.refused + ", a test pokazuje tylko tekst";
    shown = std::move(plain.text);
    return std::nullopt;
}

// "// Kwizmar: punkty 2, samodzielna 3": what this program's export keeps
// of a question that GIFT has no place for.
void ReadOwnComment(std::string_view comment, TDraft& draft) {
    comment = Trim(comment);
    if (!comment.starts_with("Kwizmar:"))
        return;
    comment.remove_prefix(8);
    while (!comment.empty()) {
        const std::size_t comma = comment.find(',');
        const std::string_view part = Trim(comment.substr(0, comma));
        comment = comma == std::string_view::npos ? std::string_view() : comment.substr(comma + 1);
        if (part.starts_with("punkty ") && TryStrToInt(Trim(part.substr(7))))
            draft.points = std::string(Trim(part.substr(7)));
        else if (part == "samodzielna")
            draft.selfAnswerLine = "TAK";
        else if (part.starts_with("samodzielna "))
            draft.selfAnswerLine = "TAK - " + std::string(Trim(part.substr(12)));
    }
}

// The answers of a multiple-choice block, or why they can't be answers here.
std::optional<std::string> ReadChoices(std::string_view inside, TTextFormat format, TDraft& draft) {
    std::size_t start = FindUnescaped(inside, '~', 0, format);
    start = std::min(start, FindUnescaped(inside, '=', 0, format));
    if (!Trim(inside.substr(0, start)).empty())
        return "przed pierwszą odpowiedzią jest tekst bez znaku „=” ani „~”";
    int rights = 0;
    while (start < inside.size()) {
        const bool right = inside[start] == '=';
        std::size_t end = std::min(FindUnescaped(inside, '~', start + 1, format),
                                   FindUnescaped(inside, '=', start + 1, format));
        end = std::min(end, inside.size());
        const std::string_view raw = inside.substr(start + 1, end - start - 1);
        if (Trim(raw, " \t\n").starts_with('%'))
            return "odpowiedzi mają wagi procentowe (%…%), a w teście jedna jest poprawna, "
                   "reszta błędna";
        if (FindUnescaped(raw, '#', 0, format) != std::string_view::npos)
            return "odpowiedź ma komentarz (#), którego test nie pokaże";
        std::string answer;
        if (auto refusal = Shown(raw, format, "odpowiedź " + Letter(draft.answers.size()), answer))
            return refusal;
        if (right) {
            ++rights;
            draft.right = static_cast<int>(draft.answers.size());
        }
        draft.answers.push_back(std::move(answer));
        start = end;
    }
    if (rights == 0)
        return "żadna odpowiedź nie jest oznaczona jako poprawna („=”)";
    if (rights > 1)
        return "ma " + std::to_string(rights) +
               (rights % 10 >= 2 && rights % 10 <= 4 && (rights % 100 < 12 || rights % 100 > 14)
                    ? " poprawne"
                    : " poprawnych") +
               " odpowiedzi („=”), a w teście poprawna jest jedna";
    return std::nullopt;
}

// Why a block of answers that is no multiple choice can't become one, or, for
// true/false, its two answers.
std::optional<std::string> ReadOtherAnswers(std::string_view inside, TDraft& draft) {
    if (inside.empty())
        return "wypracowanie ({}) nie ma odpowiedzi do wyboru";
    if (inside.starts_with('#'))
        return "odpowiedź liczbowa ({#…}) nie ma odpowiedzi do wyboru";
    const bool equals = FindUnescaped(inside, '=') != std::string_view::npos;
    if (equals && FindUnescaped(inside, "->") != std::string_view::npos)
        return "pytanie na dopasowanie (->) nie ma odpowiedzi do wyboru";
    const std::string head = AsciiLowerCase(Trim(inside.substr(0, FindUnescaped(inside, '#'))));
    if (head == "t" || head == "true" || head == "f" || head == "false") {
        if (FindUnescaped(inside, '#') != std::string_view::npos)
            return "odpowiedź ma komentarz (#), którego test nie pokaże";
        draft.answers = {"Prawda", "Fałsz"};
        draft.right = head[0] == 't' ? 0 : 1;
        return std::nullopt;
    }
    if (equals)
        return "odpowiedź krótka do wpisania ({=…}) nie ma odpowiedzi do wyboru, a w teście "
               "wpisana odpowiedź jest tylko dodatkiem do odpowiedzi A–E";
    return "odpowiedzi w nawiasach nie zaczynają się od „=” ani „~”";
}

// One question of a GIFT file: its lines without comments, joined by LF.
std::optional<std::string> ReadGiftQuestion(std::string_view text, TDraft& draft) {
    text = TrimLeft(text, " \t\n");
    if (text.starts_with("::")) {
        const std::size_t end = FindUnescaped(text, "::", 2);
        if (end == std::string_view::npos)
            return "tytuł pytania nie kończy się znakami „::”";
        text = TrimLeft(text.substr(end + 2), " \t\n");
    }
    TTextFormat format = TTextFormat::Plain;
    for (std::string_view mark : kGiftFormatMarks)
        if (text.starts_with(mark)) {
            text.remove_prefix(mark.size());
            format = FormatOfMark(mark);
            break;
        }
    draft.converted = format != TTextFormat::Plain;
    const std::size_t open = FindUnescaped(text, '{');
    if (open == std::string_view::npos)
        return "pytanie nie ma odpowiedzi (w nawiasach { })";
    const std::size_t close = FindUnescaped(text, '}', open + 1);
    if (close == std::string_view::npos)
        return "brak nawiasu „}” zamykającego odpowiedzi";
    const std::string_view after = text.substr(close + 1);
    if (FindUnescaped(after, '{') != std::string_view::npos)
        return "pytanie ma więcej niż jeden blok odpowiedzi { }";
    std::string rest;
    if (auto refusal = Shown(text.substr(0, open), format, "pytanie", draft.text))
        return refusal;
    if (auto refusal = Shown(after, format, "pytanie", rest))
        return refusal;
    if (!rest.empty())
        draft.text += (draft.text.empty() ? "_____ " : " _____ ") + rest;
    const std::string_view inside = Trim(text.substr(open + 1, close - open - 1), " \t\n");
    if (FindUnescaped(inside, '~', 0, format) != std::string_view::npos)
        return ReadChoices(inside, format, draft);
    return ReadOtherAnswers(inside, draft);
}

} // namespace

TImportedQuestions ImportGift(std::string_view bytes) {
    const std::string text = FileText(bytes);
    TImportedQuestions out;
    const auto lines = SplitLines(text);
    std::size_t i = 0;
    while (i < lines.size()) {
        if (Trim(lines[i]).empty()) {
            ++i;
            continue;
        }
        TDraft draft;
        std::string body;
        for (; i < lines.size() && !Trim(lines[i]).empty(); ++i) {
            const std::string_view line = Trim(lines[i]);
            if (line.starts_with("//")) {
                ReadOwnComment(line.substr(2), draft);
                continue;
            }
            if (line.starts_with("$CATEGORY:"))
                continue;
            if (draft.line == 0)
                draft.line = static_cast<int>(i) + 1;
            else
                body += '\n';
            body += line;
        }
        if (draft.line == 0)
            continue;
        if (auto reason = ReadGiftQuestion(body, draft))
            out.refusals.push_back({draft.line, std::move(*reason)});
        else
            Finish(std::move(draft), out);
    }
    return out;
}

namespace {

// No byte 0, and of the control characters other than tab, line ends, form
// feed and vertical tab no more than a stray few.
bool LooksLikeText(std::string_view bytes) {
    std::size_t controls = 0;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0)
            return false;
        if ((u < 0x20 && std::string_view("\t\n\r\f\v").find(c) == std::string_view::npos) ||
            u == 0x7F)
            ++controls;
    }
    return controls <= 2 + bytes.size() / 100;
}

} // namespace

TImportedQuestions ImportQuestions(std::string_view bytes) {
    if (auto test = ImportTest(bytes))
        return std::move(*test);
    if (!LooksLikeText(bytes)) {
        TImportedQuestions none;
        none.refusals.push_back(
            {1, "to nie jest plik tekstowy z pytaniami (Aiken, GIFT) ani test programu Kwizmar"});
        return none;
    }
    const std::string text = FileText(bytes);
    for (std::string_view line : SplitLines(text))
        if (IsAikenAnswerLine(Trim(line)))
            return ImportAiken(bytes);
    return ImportGift(bytes);
}

TImportedQuestions ImportQuestionsFromFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(PathFromUtf8(path), bytes))
        throw EFOpenError(path);
    return ImportQuestions(bytes);
}

} // namespace kwizmar
