#include "TestDocument.h"

#include "TestFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> LinesOfStored(const std::string& stored) {
    return TTestFile::FromStoredBytes(stored).Lines();
}

} // namespace

TEST(TestDocument, EverySampleTestAndItsSourceComeBackUnchanged) {
    const std::filesystem::path samples = std::filesystem::path(KWIZMAR_SOURCE_DIR) / "Testy";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (entry.path().extension() != ".ts2")
            continue;
        ++count;
        const std::string stored = ReadBytes(entry.path());
        const TTestDocument doc = ReadDocument(entry.path().string(), stored, TFakeRegional());
        EXPECT_EQ(LinesOfStored(StoredBytes(doc)), LinesOfStored(stored)) << entry.path();
        const auto source = samples / "zrodla" / entry.path().stem().concat(".txt");
        const std::string text = ReadBytes(source);
        EXPECT_EQ(TextSourceBytes(doc), text) << source;
        const TTestDocument fromSource = ReadDocument(source.string(), text, TFakeRegional());
        EXPECT_EQ(DocumentLines(fromSource), DocumentLines(doc)) << source;
    }
    EXPECT_GE(count, 2);
}

TEST(TestDocument, KeepsEveryLineAsReadThatTheProgramAccepts) {
    // Number lines in other spellings, a bare quote as the name, unusual
    // self-answer lines, points the exam can't use, and lines after the last
    // question.
    std::vector<std::string> lines = ValidTestLines(3);
    lines[1] = "\"";
    lines[4] = "03";
    lines[5] = "+6";
    lines[6] = "1";
    lines[QuestionLine(1, 8)] = "NIEBAWEM";
    lines[QuestionLine(2, 8)] = "TAK";
    lines[QuestionLine(3, 6)] = "B";
    lines.push_back("");
    lines.push_back("notatka autora");
    const std::string stored = MakeTs2(lines, false);
    const TTestDocument doc = ReadDocument("t.ts2", stored, TFakeRegional());
    EXPECT_EQ(DocumentLines(doc), lines);
    EXPECT_EQ(LinesOfStored(StoredBytes(doc)), lines);
}

TEST(TestDocument, HeaderNumbersFollowTheQuestions) {
    TTestDocument doc = ReadDocument("t.ts2", MakeTs2(ValidTestLines(4)), TFakeRegional());
    // The file says 0 typed answers; two questions have one.
    EXPECT_EQ(DocumentLines(doc)[6], "2");
    EXPECT_EQ(DocumentLines(doc)[5], "8");
    EXPECT_FALSE(doc.maxPointsByHand);

    doc.questions.push_back(NewQuestion());
    doc.questions[0].points = "5";
    doc.questions[0].selfAnswerLine = "TAK - 1";
    std::vector<std::string> lines = DocumentLines(doc);
    EXPECT_EQ(lines[4], "5");
    EXPECT_EQ(lines[5], "12");
    EXPECT_EQ(lines[6], "3");
    EXPECT_EQ(lines.size(), 7u + 9 * 5);

    doc.maxPointsByHand = "10";
    EXPECT_EQ(DocumentLines(doc)[5], "10");
    doc.questions[1].points = "dwa";
    doc.maxPointsByHand.reset();
    EXPECT_EQ(PointsSum(doc), std::nullopt);
    EXPECT_EQ(DocumentLines(doc)[5], "0");

    // A maximum that differs from the sum was set by hand.
    std::vector<std::string> byHand = ValidTestLines(2);
    byHand[5] = "10";
    EXPECT_EQ(ReadDocument("t.ts2", MakeTs2(byHand), TFakeRegional()).maxPointsByHand, "10");
}

TEST(TestDocument, NewTestAndTheNameQuotes) {
    const TTestDocument doc = NewTestDocument(TDate{2026, 12, 8});
    const std::vector<std::string> lines = DocumentLines(doc);
    const std::vector<std::string> expected = {"", "\"\"", "", "08.12.2026", "1", "1", "0", "",
                                               "", "",     "", "",           "",  "a", "1", "NIE"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(LineOfName("Geografia"), "\"Geografia\"");
    EXPECT_EQ(NameOfLine("\"Geografia\""), "Geografia");
    EXPECT_EQ(NameOfLine("\""), "");
}

TEST(TestDocument, RefusesWhatTheProgramWouldRejectSayingWhy) {
    auto errorOf = [](const std::string& path, const std::string& bytes) -> std::string {
        try {
            ReadDocument(path, bytes, TFakeRegional());
        } catch (const EDocumentError& e) {
            return e.what();
        }
        return "opened";
    };
    std::vector<std::string> lines = ValidTestLines(2);
    lines[1] = "Geografia";
    EXPECT_EQ(errorOf("t.ts2", MakeTs2(lines)),
              "program Kwizmar odrzuciłby ten test: wiersz 2 (nazwa testu): nazwa musi być "
              "niepusta i ujęta w znaki \" na początku i na końcu, jest „Geografia”");
    const std::string notTest = "to nie jest test programu Kwizmar (plik zawiera coś innego, "
                                "np. obraz, zwykły tekst albo dokument)";
    const std::string notDraft = "to nie jest test ani jego szkic: w drugim wierszu tekstu "
                                 "źródłowego stoi nazwa testu w cudzysłowie";
    const std::string notes = "Zebranie z rodzicami we wtorek.\nKupić kredę.\n";
    const std::string picture("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (const char* path : {"t.ts2", "t.txt"})
        EXPECT_EQ(errorOf(path, ""), "to pusty plik, nie ma w nim testu") << path;
    EXPECT_EQ(errorOf("t.ts2", picture), notTest);
    EXPECT_EQ(errorOf("t.ts2", notes), notTest);
    EXPECT_EQ(errorOf("t.txt", picture), notDraft);
    EXPECT_EQ(errorOf("t.txt", notes), notDraft);
    // Any letter case of .ts2 is a test file to the editor.
    EXPECT_EQ(errorOf("T.Ts2", MakeTs2(ValidTestLines(1))), "opened");
    EXPECT_TRUE(IsTextSourcePath("dir.ts2/test.txt"));
    EXPECT_FALSE(IsTextSourcePath("dir/TEST.TS2"));
}
