// Another test of this program, a .ts2 file or its text source, merged
// through the import of questions.
#include "QuestionImport.h"

#include "TestDocument.h"
#include "TestFixtures.h"
#include "TestSource.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace kwizmar {
void PrintTo(const TImportRefusal& refusal, std::ostream* out);
} // namespace kwizmar

namespace {

const std::filesystem::path kSource = KWIZMAR_SOURCE_DIR;

std::string Bytes(const std::filesystem::path& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
}

std::vector<std::string> Lines(const std::vector<TQuestion>& questions) {
    std::vector<std::string> lines;
    for (const TQuestion& q : questions) {
        std::string line = q.text;
        for (const std::string& answer : q.answers)
            line += "|" + answer;
        lines.push_back(line + "|" + q.correctLetter + "|" + q.points + "|" + q.selfAnswerLine);
    }
    return lines;
}

// A text source of `count` questions, given in lines of nine fields apart
// by "|"; the first question starts on line 8.
std::string Source(const std::string& count, const std::vector<std::string>& questions) {
    std::string text = "Opis\n\"Scalany\"\nAutor\n08.12.2026\n" + count + "\n0\n0\n";
    for (const std::string& q : questions)
        for (const char c : q + "\n")
            text += c == '|' ? '\n' : c;
    return text;
}

const std::string kRiver = "Rzeka?|Wisła|Odra|Warta|||a|3|TAK - 2";

} // namespace

TEST(TestImport, EverySampleTestAndItsSourceMergeWhole) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kSource / "Testy")) {
        if (entry.path().extension() != ".ts2")
            continue;
        ++count;
        const std::string stored = Bytes(entry.path());
        const auto expected =
            Lines(ReadDocument(entry.path().string(), stored, TFakeRegional()).questions);
        const auto source = kSource / "Testy/zrodla" / entry.path().stem().concat(".txt");
        for (const auto& path : {entry.path(), source}) {
            SCOPED_TRACE(path.string());
            const TImportedQuestions got = ImportQuestionsFromFile(path.string());
            EXPECT_EQ(Lines(got.questions), expected);
            EXPECT_EQ(got.refusals, std::vector<TImportRefusal>{});
            EXPECT_EQ(got.convertedLines, std::vector<int>{});
        }
    }
    EXPECT_GE(count, 2);
}

TEST(TestImport, QuestionsAnExamCantUseAreRefusedAsSourceAndAsTs2) {
    struct TCase {
        std::string source;
        std::vector<std::string> questions;
        std::vector<TImportRefusal> refusals;
    };
    const TCase cases[] = {
        {Source("2", {kRiver, "Bez odpowiedzi?||||||a|1|NIE"}),
         {kRiver},
         {{17, "pytanie nie ma odpowiedzi"}}},
        {Source("6", {"|Wisła|Odra||||a|1|NIE", "Jedna?|Wisła|||||a|1|NIE",
                      "Luka?|Wisła||Odra|||a|1|NIE", "Pusta?|Wisła|Odra||||c|1|NIE",
                      "Litera?|Wisła|Odra||||f|1|NIE", "Punkty?|Wisła|Odra||||a|x|TAK - y"}),
         {},
         {{8, "pytanie nie ma treści"},
          {17, "ma 1 odpowiedź, a pytanie testu musi mieć co najmniej 2"},
          {26, "odpowiedź B jest pusta"},
          {35, "poprawna odpowiedź C jest pusta"},
          {44, "poprawna odpowiedź „f” nie jest jedną z liter a, b, c, d, e"},
          {53, "punkty „x” nie są liczbą całkowitą"}}},
        {Source("1", {"Dodatkowe?|Wisła|Odra||||a|1|TAK - y"}),
         {},
         {{8, "dodatkowe punkty „y” nie są liczbą całkowitą"}}},
        {Source("2", {kRiver}),
         {},
         {{5, "plik ma 16 wierszy, a test o 2 pytaniach potrzebuje co najmniej 9 · 2 + 7 = 25"}}},
        {Source("0", {kRiver}), {}, {{5, "test nie ma żadnego pytania"}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.source);
        for (const std::string& bytes : {c.source, PackTestSource(c.source)}) {
            const TImportedQuestions got = ImportQuestions(bytes);
            EXPECT_EQ(Lines(got.questions), c.questions);
            EXPECT_EQ(got.refusals, c.refusals);
        }
    }
    EXPECT_EQ(ImportQuestions(PackTestSource(Source("dwa", {kRiver}))).refusals,
              (std::vector<TImportRefusal>{{5, "liczba pytań „dwa” nie jest liczbą całkowitą"}}));
}

TEST(TestImport, AnAikenQuestionQuotingALineIsNoTest) {
    const TImportedQuestions got =
        ImportQuestions("Skąd cytat?\n\"Litwo! Ojczyzno moja!\"\nA. Pan Tadeusz\nB. Dziady\n"
                        "C. Lalka\nD. Potop\nANSWER: A\n");
    EXPECT_EQ(Lines(got.questions),
              std::vector<std::string>{
                  "Skąd cytat? \"Litwo! Ojczyzno moja!\"|Pan Tadeusz|Dziady|Lalka|Potop||a|1|NIE"});
}

TEST(TestImport, AFileThatIsNoTextGivesOneRefusal) {
    // A .ts2 file without its first two lines, the name among them: the
    // scrambled line ends are control characters.
    const std::string stored = Bytes(kSource / "Testy/geografia.ts2");
    const std::size_t third = stored.find("\x18\x1F", stored.find("\x18\x1F") + 2) + 2;
    for (const std::string& bytes :
         {Bytes(kSource / "docs/editor.png"), Bytes(kSource / "packaging/KwIc.ico"),
          stored.substr(third),
          std::string("%PDF-1.4\n%\xE2\xE3\xCF\xD3\nstream\nx\x9C\x03\x01\x1F")}) {
        EXPECT_EQ(ImportQuestions(bytes).refusals,
                  (std::vector<TImportRefusal>{
                      {1, "to nie jest plik tekstowy z pytaniami (Aiken, GIFT) ani test programu "
                          "Kwizmar"}}));
    }
}
