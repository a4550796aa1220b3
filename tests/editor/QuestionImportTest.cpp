#include "QuestionImport.h"

#include "Errors.h"
#include "GiftExport.h"
#include "TestFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace kwizmar {
void PrintTo(const TImportRefusal& refusal, std::ostream* out) {
    *out << "wiersz " << refusal.line << ": " << refusal.reason;
}
} // namespace kwizmar

namespace {

// A question in one line: text | A … E | letter | points | typed answer.
std::string Line(const TQuestion& q) {
    std::string line = q.text;
    for (const std::string& answer : q.answers)
        line += "|" + answer;
    return line + "|" + q.correctLetter + "|" + q.points + "|" + q.selfAnswerLine;
}

std::vector<std::string> Lines(const TImportedQuestions& imported) {
    std::vector<std::string> lines;
    for (const TQuestion& q : imported.questions)
        lines.push_back(Line(q));
    return lines;
}

struct TCase {
    const char* name;
    std::string input;
    std::vector<std::string> questions;
    std::vector<TImportRefusal> refusals;
    std::vector<int> converted = {};
};

void Expect(const std::vector<TCase>& cases, TImportedQuestions (*import)(std::string_view)) {
    for (const TCase& c : cases) {
        const TImportedQuestions got = import(c.input);
        EXPECT_EQ(Lines(got), c.questions) << c.name;
        EXPECT_EQ(got.refusals, c.refusals) << c.name;
        EXPECT_EQ(got.convertedLines, c.converted) << c.name;
    }
}

const std::string kCapital = "Stolica Polski?|Kraków|Warszawa|Gdańsk|Łódź|Poznań|b|1|NIE";
const std::string kAikenCapital =
    "Stolica Polski?\nA. Kraków\nB. Warszawa\nC. Gdańsk\nD. Łódź\nE. Poznań\nANSWER: B\n";
const std::string kGiftCapital = "Stolica Polski? {~Kraków =Warszawa ~Gdańsk ~Łódź ~Poznań}\n";

} // namespace

TEST(QuestionImport, AikenConstructs) {
    Expect(
        {
            {"answers with a dot", kAikenCapital, {kCapital}, {}},
            {"answers with a bracket, no blank line, CR LF, a byte-order mark",
             "\xEF\xBB\xBF" + kAikenCapital +
                 "Ile to 2 + 2?\r\nA) 3\r\nB) 4\r\nC) 5\r\nD) "
                 "6\r\nE) 7\r\nANSWER: b\r\n",
             {kCapital, "Ile to 2 + 2?|3|4|5|6|7|b|1|NIE"},
             {}},
            {"a question over two lines",
             "Stolica\nPolski?\nA. Kraków\nB. Warszawa\nC. Gdańsk\nD. Łódź\nE. Poznań\nANSWER: B",
             {kCapital},
             {}},
            {"Windows-1250",
             "Rzeka?\nA. Wis\xB3"
             "a\nB. Odra\nC. Warta\nD. Bug\nE. Narew\nANSWER: A\n",
             {"Rzeka?|Wisła|Odra|Warta|Bug|Narew|a|1|NIE"},
             {}},
        },
        ImportAiken);
}

TEST(QuestionImport, AikenRefusalsNameTheirLine) {
    Expect(
        {
            {"one answer",
             kAikenCapital + "\nRzeka?\nA. Wisła\nANSWER: A\n",
             {kCapital},
             {{9, "ma 1 odpowiedź, a pytanie testu musi mieć co najmniej 2"}}},
            {"six answers",
             "Rzeka?\nA. Wisła\nB. Odra\nC. Warta\nD. Bug\nE. Narew\nF. San\nANSWER: A\n",
             {},
             {{1, "ma 6 odpowiedzi, a pytanie testu może mieć najwyżej 5"}}},
            {"answers out of order",
             "Rzeka?\nA. Wisła\nC. Odra\nB. Warta\nD. Bug\nE. Narew\nANSWER: A\n",
             {},
             {{1, "odpowiedź C stoi w miejscu odpowiedzi B"}}},
            {"a letter no answer has",
             "Rzeka?\nA. Wisła\nB. Odra\nC. Warta\nD. Bug\nE. Narew\nANSWER: F\n",
             {},
             {{1, "„ANSWER: F” wskazuje odpowiedź, której nie ma"}}},
            {"no letter",
             "Rzeka?\nA. Wisła\nB. Odra\nC. Warta\nD. Bug\nE. Narew\nANSWER: 1\n",
             {},
             {{1, "po „ANSWER:” nie ma litery poprawnej odpowiedzi"}}},
            {"an empty answer",
             "Rzeka?\nA. Wisła\nB. Odra\nC.\nD. Bug\nE. Narew\nANSWER: A\n",
             {},
             {{1, "odpowiedź C jest pusta"}}},
            {"no ANSWER line before the next question",
             "Rzeka?\nA. Wisła\nB. Odra\nC. Warta\nD. Bug\nE. Narew\n" + kAikenCapital,
             {kCapital},
             {{1, "po odpowiedziach brak wiersza „ANSWER: litera”"}}},
            {"no ANSWER line at the end",
             kAikenCapital + "\nRzeka?\nA. Wisła\n",
             {kCapital},
             {{9, "po odpowiedziach brak wiersza „ANSWER: litera”"}}},
            {"no answers",
             "Rzeka?\nANSWER: A\n" + kAikenCapital + "Góra?\n",
             {kCapital},
             {{1, "pytanie nie ma odpowiedzi"}, {10, "pytanie nie ma odpowiedzi"}}},
            {"answers without a question",
             "A. Wisła\nB. Odra\nC. Warta\nD. Bug\nE. Narew\nANSWER: A\n",
             {},
             {{1, "pytanie nie ma treści"}}},
            {"ANSWER without a question",
             kAikenCapital + "ANSWER: C\n",
             {kCapital},
             {{8, "wiersz „ANSWER:” bez pytania przed nim"}}},
        },
        ImportAiken);
}

TEST(QuestionImport, GiftConstructs) {
    Expect(
        {
            {"multiple choice", kGiftCapital, {kCapital}, {}},
            {"three answers, and true or false",
             "Miasto? {~Gdańsk =Kraków ~Łódź}\n\nWisła jest rzeką. {T}\n",
             {"Miasto?|Gdańsk|Kraków|Łódź|||b|1|NIE", "Wisła jest rzeką.|Prawda|Fałsz||||a|1|NIE"},
             {}},
            {"title, comments, category, a format mark, answers on lines of their own",
             "// geografia\n$CATEGORY: $course$/Geografia\n\n::Stolica::[markdown]Stolica\n"
             "Polski? {\n  ~Kraków\n  =Warszawa\n// dawna stolica:\n  ~Gdańsk ~Łódź\n  "
             "~Poznań\n}\n",
             {kCapital},
             {},
             {4}},
            {"escapes",
             "Co to jest \\{x\\}\\: \\~ \\= \\# \\\\?\\nKoniec {=a\\=b ~c\\~d ~e\\#f ~g\\{\\}h "
             "~i\\:j}",
             {"Co to jest {x}: ~ = # \\? Koniec|a=b|c~d|e#f|g{}h|i:j|a|1|NIE"},
             {}},
            {"text after the answers is the gap's sequel",
             "Stolicą Polski jest {=Warszawa ~Kraków ~Gdańsk ~Łódź ~Poznań} od 1596 roku.",
             {"Stolicą Polski jest _____ od 1596 roku.|Warszawa|Kraków|Gdańsk|Łódź|Poznań|a|1|NIE"},
             {}},
            {"this program's own comment",
             "// Kwizmar: punkty 3, samodzielna 2\n" + kGiftCapital,
             {"Stolica Polski?|Kraków|Warszawa|Gdańsk|Łódź|Poznań|b|3|TAK - 2"},
             {}},
            {"Windows-1250, several blank lines, CR",
             "\r\r\rRzeka? {=Wis\xB3"
             "a ~Odra ~Warta ~Bug ~Narew}\r\r",
             {"Rzeka?|Wisła|Odra|Warta|Bug|Narew|a|1|NIE"},
             {}},
        },
        ImportGift);
}

TEST(QuestionImport, GiftRefusalsNameTheirLine) {
    const std::string lead = "// pierwsze pytanie\n" + kGiftCapital + "\n"; // the next is line 4
    auto refused = [&](const char* name, const std::string& question, const std::string& reason) {
        return TCase{name, lead + question, {kCapital}, {{4, reason}}};
    };
    Expect(
        {
            refused("several right", "::T:: Miasta? {=Kraków =Gdańsk ~Łódź ~Bug ~Odra}",
                    "ma 2 poprawne odpowiedzi („=”), a w teście poprawna jest jedna"),
            refused("five right", "Miasta? {=Kraków =Gdańsk =Łódź =Bug =Odra ~Wisła}",
                    "ma 5 poprawnych odpowiedzi („=”), a w teście poprawna jest jedna"),
            refused("none right", "Miasto? {~Kraków ~Gdańsk ~Łódź ~Bug ~Odra}",
                    "żadna odpowiedź nie jest oznaczona jako poprawna („=”)"),
            refused("weights", "Miasto? {~%50%Kraków ~%50%Gdańsk ~Łódź ~Bug ~Odra}",
                    "odpowiedzi mają wagi procentowe (%…%), a w teście jedna jest poprawna, "
                    "reszta błędna"),
            refused("feedback", "Miasto? {=Kraków#Tak. ~Gdańsk ~Łódź ~Bug ~Odra}",
                    "odpowiedź ma komentarz (#), którego test nie pokaże"),
            refused("six answers", "Miasto? {=Kraków ~Gdańsk ~Łódź ~Bug ~Odra ~Wisła}",
                    "ma 6 odpowiedzi, a pytanie testu może mieć najwyżej 5"),
            refused("an empty answer", "Miasto? {=Kraków ~ ~Łódź ~Bug ~Odra}",
                    "odpowiedź B jest pusta"),
            refused("short answer", "Stolica Polski? {=Warszawa =Warsaw}",
                    "odpowiedź krótka do wpisania ({=…}) nie ma odpowiedzi do wyboru, a w "
                    "teście wpisana odpowiedź jest tylko dodatkiem do odpowiedzi A–E"),
            refused("matching", "Dopasuj. {=Polska -> Warszawa =Czechy -> Praga}",
                    "pytanie na dopasowanie (->) nie ma odpowiedzi do wyboru"),
            refused("numeric", "Ile to 2 + 2? {#4:0}",
                    "odpowiedź liczbowa ({#…}) nie ma odpowiedzi do wyboru"),
            refused("essay", "Opisz Wisłę. {}", "wypracowanie ({}) nie ma odpowiedzi do wyboru"),
            refused("no answers", "Tylko opis.", "pytanie nie ma odpowiedzi (w nawiasach { })"),
            refused("no closing brace", "Miasto? {=Kraków ~Gdańsk",
                    "brak nawiasu „}” zamykającego odpowiedzi"),
            refused("an open title", "::Miasto? {=Kraków ~Gdańsk}",
                    "tytuł pytania nie kończy się znakami „::”"),
            refused("two blocks", "Miasto {=A ~B ~C ~D ~E} i rzeka {=F ~G ~H ~I ~J}",
                    "pytanie ma więcej niż jeden blok odpowiedzi { }"),
            refused("text before the first answer", "Miasto? {Kraków ~Gdańsk}",
                    "przed pierwszą odpowiedzią jest tekst bez znaku „=” ani „~”"),
            refused("neither = nor ~", "Miasto? {Kraków}",
                    "odpowiedzi w nawiasach nie zaczynają się od „=” ani „~”"),
            refused("no text", "{=Kraków ~Gdańsk ~Łódź ~Bug ~Odra}", "pytanie nie ma treści"),
        },
        ImportGift);
}

TEST(QuestionImport, GiftInHtmlOrMarkdownBecomesPlainText) {
    Expect(
        {
            {"the escapes are read before the markup",
             "[html]<p style\\=\"a\\:b\">Zbi&\\#243;r \\{1\\}?</p>{=<p>Tak</p> ~<p>Nie</p>}",
             {"Zbiór {1}?|Tak|Nie||||a|1|NIE"},
             {},
             {1}},
            {"a tag's attributes and a numeric reference need no escapes in an answer",
             "\n::R::[html]Rzeka?{=<p class=\"a=b ~c\">Wis&#322;a</p> ~<p dir=\"ltr\">Odra</p>}",
             {"Rzeka?|Wisła|Odra||||a|1|NIE"},
             {},
             {2}},
            {"Markdown in the answers and after them",
             "[markdown]**Stolicą** Polski\\njest {=_Warszawa_ ~Kraków} od *1596* roku.\n\n"
             "[moodle]Rzeka?{=Wis&#322;a ~Odra}",
             {"Stolicą Polski jest _____ od 1596 roku.|Warszawa|Kraków||||a|1|NIE",
              "Rzeka?|Wisła|Odra||||a|1|NIE"},
             {},
             {1, 3}},
            {"[plain] and no mark keep the text as written",
             "[plain]<b>x</b>? {=a ~b}\n\n<i>y</i>? {=&amp; ~**d**}",
             {"<b>x</b>?|a|b||||a|1|NIE", "<i>y</i>?|&amp;|**d**||||a|1|NIE"},
             {}},
            {"what a test can't show is refused, and the question is not counted converted",
             "[html]<p>Co to?</p><img src=\"@@PLUGINFILE@@/x.png\">{=a ~b}\n\n"
             "[markdown]Co to?{=tekst ~![a](b.png)}\n\n"
             "[html]<table><tr><td>1</td></tr></table>{=a ~b}\n\n"
             "[html]<p><br></p>{=a ~b}\n\n"
             "[html]Rzeka?{=Wisła ~<p>&nbsp;</p>}",
             {},
             {{1, "pytanie zawiera obraz (<img>), a test pokazuje tylko tekst"},
              {3, "odpowiedź B zawiera obraz (![…](…)), a test pokazuje tylko tekst"},
              {5, "pytanie zawiera tabelę (<table>), a test pokazuje tylko tekst"},
              {7, "pytanie nie ma treści"},
              {9, "odpowiedź B jest pusta"}}},
        },
        ImportGift);
}

TEST(QuestionImport, AnExportOfALearningPlatform) {
    const TImportedQuestions got = ImportQuestionsFromFile(
        (std::filesystem::path(KWIZMAR_SOURCE_DIR) / "tests/data/import/platforma.gift").string());
    EXPECT_EQ(Lines(got),
              (std::vector<std::string>{
                  "Jaka jest stolica Polski?|Kraków|Warszawa|Gdańsk|Łódź||b|1|NIE",
                  "Która rzeka jest najdłuższa w Polsce?|Wisła|Odra|Warta|Bug||a|1|NIE",
                  "Najwyższy szczyt Tatr po polskiej stronie to:|Rysy|Giewont|Kasprowy Wierch|||"
                  "a|1|NIE",
                  "Nad jakim morzem leży Polska?|Bałtyckim|Północnym|Czarnym|||a|1|NIE",
                  "Która nierówność jest prawdziwa?|2 < 3|3 < 2|2 > 3|||a|1|NIE",
                  "Wisła uchodzi do Morza Bałtyckiego.|Prawda|Fałsz||||a|1|NIE",
                  "Co oznacza skrót \"PKP\"?|Polskie Koleje Państwowe|Polska Komunikacja "
                  "Publiczna|Pomorskie Koleje Prywatne|||a|1|NIE",
                  "Stolicą Czech jest|Praga|Brno|Ostrawa|||a|1|NIE",
                  "Ile województw ma Polska?|16|15|17|||a|1|NIE",
              }));
    EXPECT_EQ(got.refusals,
              (std::vector<TImportRefusal>{
                  {29, "pytanie zawiera obraz (<img>), a test pokazuje tylko tekst"},
                  {36, "pytanie zawiera tabelę (<table>), a test pokazuje tylko tekst"},
                  {66, "odpowiedź A zawiera obraz (<img>), a test pokazuje tylko tekst"},
                  {72, "odpowiedzi mają wagi procentowe (%…%), a w teście jedna jest poprawna, "
                       "reszta błędna"},
              }));
    EXPECT_EQ(got.convertedLines, (std::vector<int>{6, 14, 22, 42, 49, 56, 59, 79}));
}

TEST(QuestionImport, TheFormatIsTakenFromTheFile) {
    EXPECT_EQ(Lines(ImportQuestions(kAikenCapital)), std::vector<std::string>{kCapital});
    EXPECT_EQ(Lines(ImportQuestions(kGiftCapital)), std::vector<std::string>{kCapital});
}

TEST(GiftExport, WritesEachQuestionOnALine) {
    TTestDocument doc = NewTestDocument(TDate{2026, 12, 8});
    doc.nameLine = "\"Geografia\"";
    doc.questions = ImportAiken(kAikenCapital).questions;
    EXPECT_EQ(GiftText(doc), "// Test \"Geografia\" z edytora testów Kwizmar 2002\n\n"
                             "::P1::Stolica Polski? {~Kraków =Warszawa ~Gdańsk ~Łódź ~Poznań}\n");
}

TEST(GiftExport, IsReadBackAsTheSameQuestions) {
    TTestDocument doc = NewTestDocument(TDate{2026, 12, 8});
    doc.questions = {
        {"[html] Znaki {~=#:\\} w treści",
         {"Wisła", "Odra", "a -> b, 50% i // nie komentarz", "Bug", "Narew"},
         "a",
         "1",
         "NIE"},
        {"Rzeka?", {"Wisła", "%50% dorzecza", "Warta", "Bug", "%"}, "e", "3", "NIE"},
        {"Góra?", {"Rysy", "Giewont", "Śnieżka", "Babia Góra", "Tarnica"}, "b", "1", "TAK - 2"},
        {"Ile to 2 + 2?", {"3", "4", "5", "6", "7"}, "c", "-1", "TAK"},
    };
    const TImportedQuestions back = ImportGift(GiftText(doc));
    EXPECT_EQ(back.refusals, std::vector<TImportRefusal>{});
    std::vector<std::string> expected;
    for (const TQuestion& q : doc.questions)
        expected.push_back(Line(q));
    EXPECT_EQ(Lines(back), expected);
}

TEST(QuestionImport, AFileThatCantBeReadIsAnOpenError) {
    TTempDir dir;
    EXPECT_THROW(ImportQuestionsFromFile((dir.path() / "brak.gift").string()), EFOpenError);
}
