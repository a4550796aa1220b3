#include "Ts2Tool.h"

#include "Cp1250.h"
#include "TestFile.h"
#include "TestFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct TRun {
    int status;
    std::string out, err;
};

TRun RunTool(const std::vector<std::string>& args,
             const TFakeRegional& regional = TFakeRegional()) {
    std::ostringstream out, err;
    const int status = RunTs2Tool(args, out, err, regional, TDate{2026, 12, 8});
    return {status, out.str(), err.str()};
}

} // namespace

TEST(Ts2Tool, PackThenUnpackGivesTheSourceBack) {
    const std::string source = Join(ValidTestLines(2));
    const std::string packed = PackTestSource(source);
    EXPECT_EQ(packed, MakeTs2(ValidTestLines(2)));
    EXPECT_EQ(UnpackTestFile(packed), source);
    // CR LF sources, a byte-order mark and a missing final line break.
    EXPECT_EQ(UnpackTestFile(PackTestSource("\xEF\xBB\xBFŁódź\r\nżółw")), "Łódź\nżółw");
    EXPECT_EQ(PackTestSource("a\rb\n"), ScrambleTest("a\r\nb\r\n"));
}

TEST(Ts2Tool, PackRefusesWhatAFileCannotCarry) {
    auto errorOf = [](const std::string& source) -> std::string {
        try {
            PackTestSource(source);
        } catch (const ETestSourceError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(errorOf("ok\nabc ñ"), "wiersz 2, znak 5: znaku „ñ” (U+00F1) nie ma w stronie kodowej "
                                    "Windows-1250");
    EXPECT_EQ(errorOf("a\xC3"), "wiersz 1, znak 2: nieprawidłowy zapis UTF-8");
    // Control characters would turn into line breaks or ends of text once scrambled.
    EXPECT_EQ(errorOf(std::string("a\x15") + "b"),
              "wiersz 1, znak 2: znak sterujący U+0015 nie może wystąpić w pliku testowym");
    EXPECT_NE(errorOf(std::string("a\0b", 3)), "no error");
    EXPECT_EQ(errorOf("\t tab is fine"), "no error");
    EXPECT_EQ(errorOf(std::string(4096, 'x')), "no error");
    EXPECT_EQ(errorOf(std::string(4097, 'x')),
              "wiersz 1: ma 4097 znaków, a program czyta tylko pierwsze 4096");
}

// A file of the target's name stays as it was.
TEST(Ts2Tool, PackAndImportWriteNothingTheProgramWouldReject) {
    const TTempDir dir;
    const struct {
        const char *command, *name, *text, *said;
    } cases[] = {
        {"pack", "pusty.txt", "", "pusty.txt: plik jest pusty"},
        {"pack", "zakupy.txt", "mleko\nchleb\n",
         "zakupy.txt: program odrzuciłby ten test: wiersz 2"},
        {"pack", "p.gift", "Stolica? {=Warszawa ~Kraków}\n", "kwizmar-ts2 import"},
        {"import", "zakupy.txt", "mleko\nchleb\n", "zakupy.txt:1: "},
        {"import", "znaki.gift", "Ile to 中? {=dwa ~trzy}\n",
         "treść pytania 1 („Ile to 中?”): Znaku"},
        {"import", "zero.gift", "// Kwizmar: punkty 0\nIle? {=2 ~3}\n",
         "maksymalna liczba punktów"},
    };
    const std::string target = (dir.path() / "test.ts2").string();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.name);
        dir.Write("test.ts2", "poprzedni test");
        const TRun run = RunTool({c.command, dir.Write(c.name, c.text), target});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(target), "poprzedni test");
    }
}

TEST(Ts2Tool, PackWritesTheTestAndNotesWhatGoesWrongInAnExam) {
    const TTempDir dir;
    const std::string source = Join(ValidTestLines(2));
    const auto target = dir.path() / "test.ts2";
    const TRun run = RunTool({"pack", dir.Write("dobry.txt", source), target.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("dobry.txt: uwaga: wiersz 7"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(target), PackTestSource(source));
}

TEST(Ts2Tool, ImportMakesANewTestOfTheQuestionsItCanTake) {
    const TTempDir dir;
    const std::string source =
        dir.Write("Stolice.gift", "[html]<p dir=\"ltr\">Stolica&nbsp;Polski?<br></p>"
                                  "{=<p>Warszawa</p> ~Krak&oacute;w}\n\n// Kwizmar: punkty 3\n"
                                  "Stolica Czech? {~Brno =Praga}\n\nDopasuj. {=a -> 1 =b -> 2}\n");
    const auto target = dir.path() / "stolice.ts2";
    const TRun run = RunTool({"import", source, target.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Stolice.gift:6: "), std::string::npos) << run.err;
    EXPECT_EQ(run.out,
              target.string() + ": zapisano test \"Stolice\": 2 pytania z pliku " + source +
                  "\n" + source +
                  ": pytania zapisane w HTML lub Markdown zamieniono na zwykły tekst (wiersz "
                  "pliku: 1)\n");
    const std::string stored = ReadFile(target);
    EXPECT_EQ(CheckTestFile(target.string(), stored, TFakeRegional()).rejection, "");
    const TTestFile test = TTestFile::FromStoredBytes(stored);
    EXPECT_EQ(test.Header().createdDate, "08.12.2026");
    EXPECT_EQ(test.Header().maxPoints, "4");
    EXPECT_EQ(test.Question(2).correctLetter, "b");
    EXPECT_EQ(test.Question(1).text, "Stolica Polski?");
    EXPECT_EQ(test.Question(1).answers[1], "Kraków");
}

TEST(Ts2Tool, CheckNamesTheFailedCheckAndItsLine) {
    const TTempDir dir;
    auto lines = ValidTestLines(2);
    const std::string good = dir.Write("dobry.ts2", MakeTs2(lines));
    TRun run = RunTool({"check", good});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("test \"Geografia\": 2 pytania, 4 pkt"), std::string::npos) << run.out;
    // The sample counts one self-answer question, the header says 0.
    EXPECT_NE(run.out.find("uwaga: wiersz 7"), std::string::npos) << run.out;

    lines.pop_back();
    run = RunTool({"check", dir.Write("krotki.ts2", MakeTs2(lines))});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("plik ma 24 wiersze, a test o 2 pytaniach potrzebuje co najmniej 9 · 2 "
                           "+ 7 = 25"),
              std::string::npos)
        << run.err;

    run = RunTool({"check", dir.Write("dobry.Ts2", MakeTs2(ValidTestLines(1)))});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(".ts2 albo .TS2"), std::string::npos);

    auto badPoints = ValidTestLines(1);
    badPoints[QuestionLine(1, 6)] = "B";
    badPoints[QuestionLine(1, 7)] = "dwa";
    run = RunTool({"check", dir.Write("punkty.ts2", MakeTs2(badPoints))});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("pytanie 1, wiersz 14: poprawna odpowiedź „B”"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("pytanie 1, wiersz 15: punkty „dwa”"), std::string::npos) << run.out;
}

TEST(Ts2Tool, CheckChecksEveryFileNamedAndFailsIfAnyFails) {
    const TTempDir dir;
    const std::string first = dir.Write("pierwszy.ts2", MakeTs2(ValidTestLines(1)));
    const std::string missing = (dir.path() / "brak.ts2").string();
    auto shortLines = ValidTestLines(1);
    shortLines.pop_back();
    const std::string rejected = dir.Write("krotki.ts2", MakeTs2(shortLines));
    const std::string last = dir.Write("ostatni.ts2", MakeTs2(ValidTestLines(2)));

    TRun run = RunTool({"check", first, missing, rejected, last});
    EXPECT_EQ(run.status, 1);
    for (const std::string& accepted : {first, last})
        EXPECT_NE(run.out.find(accepted + ": test"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("nie można otworzyć pliku " + missing), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(rejected + ": program odrzuci ten plik"), std::string::npos) << run.err;

    run = RunTool({"check", first, last});
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST(Ts2Tool, CheckSaysWhichDateFormatReadTheCreationDate) {
    const TTempDir dir;
    const TFakeRegional american("M/d/yy");
    struct {
        const char* date;
        int status;
        const char* said;
    } cases[] = {
        {"06.05.2002", 0, "data utworzenia: „06.05.2002” w polskim formacie daty (dd.MM.yyyy)\n"},
        {"5/6/02", 0, "data utworzenia: „5/6/02” w krótkim formacie daty systemu (M/d/yy)\n"},
        {"2002-05-06", 1,
         ": program odrzuci ten plik: wiersz 4 (data utworzenia): „2002-05-06” nie jest datą ani "
         "w krótkim formacie daty systemu (M/d/yy), ani w polskim formacie daty (dd.MM.yyyy)\n"},
    };
    auto lines = ValidTestLines(1);
    for (const auto& c : cases) {
        lines[3] = c.date;
        const TRun run = RunTool({"check", dir.Write("data.ts2", MakeTs2(lines))}, american);
        EXPECT_EQ(run.status, c.status) << c.date;
        EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.said), std::string::npos)
            << run.out << run.err;
    }
}

TEST(Ts2Tool, CommandLineFailuresExitNonZero) {
    const TTempDir dir;
    EXPECT_EQ(RunTool({}).status, 2);
    EXPECT_EQ(RunTool({"pack", "jeden"}).status, 2);
    EXPECT_EQ(RunTool({"spakuj", "a", "b"}).status, 2);
    TRun run = RunTool({"unpack", (dir.path() / "brak.ts2").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("nie można otworzyć pliku"), std::string::npos);
    run = RunTool({"check", dir.path().string() + "/"});
    EXPECT_EQ(run.status, 1);
    const std::string source = dir.Write("zly.txt", "abc 中\n");
    run = RunTool({"pack", source, (dir.path() / "zly.ts2").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("zly.txt: wiersz 1, znak 5"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "zly.ts2"));
    run = RunTool({"pack", dir.Write("ok.txt", Join(ValidTestLines(1))),
                   (dir.path() / "brak" / "x.ts2").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("nie można utworzyć pliku"), std::string::npos);
}

TEST(Ts2Tool, ShippedSamplesAreMadeFromTheirSources) {
    const std::filesystem::path root = KWIZMAR_SOURCE_DIR;
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root / "Testy")) {
        if (entry.path().extension() != ".ts2")
            continue;
        ++samples;
        const auto source = root / "Testy" / "zrodla" / entry.path().stem().concat(".txt");
        ASSERT_TRUE(std::filesystem::exists(source)) << source;
        const std::string stored = ReadFile(entry.path());
        EXPECT_EQ(UnpackTestFile(stored), ReadFile(source)) << entry.path();
        EXPECT_EQ(PackTestSource(ReadFile(source)), stored) << entry.path();
        const TCheckReport report = CheckTestFile(entry.path().string(), stored, TFakeRegional());
        EXPECT_EQ(report.rejection, "") << entry.path();
        EXPECT_TRUE(report.notes.empty()) << entry.path() << ": " << report.notes.front();
    }
    EXPECT_GE(samples, 2);
}

TEST(Ts2Tool, CountsTakeThePolishPlural) {
    const TTempDir dir;
    const std::pair<int, const char*> cases[] = {{1, "1 pytanie,"}, {2, "2 pytania,"},
                                                 {4, "4 pytania,"}, {5, "5 pytań,"},
                                                 {12, "12 pytań,"}, {22, "22 pytania,"}};
    for (const auto& [n, expected] : cases) {
        const TRun run = RunTool({"check", dir.Write("t.ts2", MakeTs2(ValidTestLines(n)))});
        EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
    }
    auto lines = ValidTestLines(1);
    lines.resize(14);
    const TRun cut = RunTool({"check", dir.Write("t.ts2", MakeTs2(lines))});
    EXPECT_NE(cut.err.find("plik ma 14 wierszy, a test o 1 pytaniu potrzebuje"), std::string::npos)
        << cut.err;
}
