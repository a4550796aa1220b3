#include "DocumentChecks.h"

#include "TestFixtures.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

TTestDocument Valid() {
    return ReadDocument("t.ts2", MakeTs2(ValidTestLines(2)), TFakeRegional());
}

std::string Describe(const std::vector<TCheck>& checks) {
    std::string all;
    for (const TCheck& c : checks)
        all += std::to_string(static_cast<int>(c.where.field)) + "/" +
               std::to_string(c.where.question) + "/" + std::to_string(c.where.answer) + " " +
               (c.severity == TSeverity::Error ? "błąd: " : "uwaga: ") + c.text + "\n";
    return all;
}

} // namespace

TEST(DocumentChecks, AValidTestHasNone) {
    EXPECT_EQ(Describe(CheckDocument(Valid(), TFakeRegional(), TFakeMeasure())), "");
}

TEST(DocumentChecks, EachFindingStandsBesideItsField) {
    const std::string longWords = [] {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "słowo ";
        return text;
    }();
    struct TCase {
        const char* name;
        std::function<void(TTestDocument&)> change;
        TFieldRef where;
        TSeverity severity;
        std::string text;
    };
    const TCase cases[] = {
        {"not in Windows-1250",
         [](TTestDocument& d) { d.questions[0].text = "Ile to 2·π?"; },
         {TField::Text, 0},
         TSeverity::Error,
         "Znaku „π” nie ma w stronie kodowej Windows-1250, w której zapisuje się testy (znak "
         "10). Zastąp go zwykłymi znakami, np. „½” jako „1/2”, „≤” jako „<=”; do tego czasu "
         "test można zachować jako szkic."},
        {"several not in Windows-1250",
         [](TTestDocument& d) { d.questions[0].text = "½ z π i π?"; },
         {TField::Text, 0},
         TSeverity::Error,
         "Znaków „½”, „π” nie ma w stronie kodowej Windows-1250, w której zapisuje się testy "
         "(znaki 1, 5, 9). Zastąp je zwykłymi znakami, np. „½” jako „1/2”, „≤” jako „<=”; do "
         "tego czasu test można zachować jako szkic."},
        {"control character",
         [](TTestDocument& d) { d.author = "Jan\x01"; },
         {TField::Author},
         TSeverity::Error,
         "Znak 4: znak sterujący U+0001 nie może wystąpić w pliku testowym."},
        {"line too long",
         [](TTestDocument& d) { d.questions[1].answers[2] = std::string(4097, 'x'); },
         {TField::Answer, 1, 2},
         TSeverity::Error,
         "Tekst ma 4097 znaków, a program czyta tylko pierwsze 4096."},
        {"one answer",
         [](TTestDocument& d) {
             d.questions[1].answers = {"Tak", "", "", "", ""};
             d.questions[1].correctLetter = std::string("a");
         },
         {TField::Answer, 1, 1},
         TSeverity::Error,
         "Wpisz odpowiedź B: pytanie potrzebuje co najmniej dwóch odpowiedzi."},
        {"empty answer between",
         [](TTestDocument& d) { d.questions[1].answers[2].clear(); },
         {TField::Answer, 1, 2},
         TSeverity::Error,
         "Wpisz odpowiedź C albo przesuń dalsze wyżej: puste mogą być tylko ostatnie "
         "odpowiedzi."},
        {"correct answer empty",
         [](TTestDocument& d) {
             d.questions[1].answers[4].clear();
             d.questions[1].correctLetter = std::string("e");
         },
         {TField::CorrectLetter, 1},
         TSeverity::Error,
         "Poprawna odpowiedź E jest pusta: wpisz ją albo zaznacz inną."},
        {"empty question",
         [](TTestDocument& d) { d.questions[0].text.clear(); },
         {TField::Text, 0},
         TSeverity::Error,
         "Wpisz treść pytania."},
        {"points not whole",
         [](TTestDocument& d) { d.questions[0].points = "1,5"; },
         {TField::Points, 0},
         TSeverity::Error,
         "Punkty „1,5” nie są liczbą całkowitą."},
        {"negative points",
         [](TTestDocument& d) { d.questions[0].points = "-1"; },
         {TField::Points, 0},
         TSeverity::Warning,
         "Ujemne punkty: za poprawną odpowiedź zdający straci punkty."},
        {"bonus not whole",
         [](TTestDocument& d) { d.questions[1].selfAnswerLine = "TAK - 2 pkt"; },
         {TField::Bonus, 1},
         TSeverity::Error,
         "Dodatkowe punkty „2 pkt” nie są liczbą całkowitą."},
        {"correct letter",
         [](TTestDocument& d) { d.questions[0].correctLetter = std::string("B"); },
         {TField::CorrectLetter, 0},
         TSeverity::Error,
         "Poprawna odpowiedź „B” nie jest jedną z liter a, b, c, d, e: zaznacz poprawną."},
        {"empty name",
         [](TTestDocument& d) { d.nameLine = "\"\""; },
         {TField::Name},
         TSeverity::Error,
         "Podaj nazwę testu."},
        {"name typed in quotes",
         [](TTestDocument& d) { d.nameLine = LineOfName("\"Geografia\""); },
         {TField::Name},
         TSeverity::Warning,
         "Cudzysłów wokół nazwy program dopisuje sam; ten wpisany zobaczysz podwójnie."},
        {"no date",
         [](TTestDocument& d) { d.createdDate = "jutro"; },
         {TField::Date},
         TSeverity::Error,
         "„jutro” nie jest datą w formacie dd.mm.rrrr (np. 08.12.2026)."},
        {"date not in full",
         [](TTestDocument& d) { d.createdDate = std::string("6.5.2002"); },
         {TField::Date},
         TSeverity::Warning,
         "Program pokaże datę tak, jak jest wpisana; w pełnej postaci to 06.05.2002."},
        {"no questions",
         [](TTestDocument& d) { d.questions.clear(); },
         {TField::Questions},
         TSeverity::Error,
         "Test nie ma żadnego pytania."},
        {"max not whole",
         [](TTestDocument& d) { d.maxPointsByHand.emplace("sto"); },
         {TField::MaxPoints},
         TSeverity::Error,
         "Maksymalna liczba punktów „sto” nie jest liczbą całkowitą."},
        {"max zero",
         [](TTestDocument& d) { d.maxPointsByHand.emplace("0"); },
         {TField::MaxPoints},
         TSeverity::Error,
         "Maksymalna liczba punktów musi być większa od zera: od niej liczy się procent i ocena."},
        {"max below sum",
         [](TTestDocument& d) { d.maxPointsByHand.emplace("3"); },
         {TField::MaxPoints},
         TSeverity::Warning,
         "Maksymalna liczba punktów 3 różni się od sumy punktów pytań (4): komplet punktów da "
         "ponad 100% i ocenę celującą."},
        {"max above sum",
         [](TTestDocument& d) { d.maxPointsByHand.emplace("5"); },
         {TField::MaxPoints},
         TSeverity::Warning,
         "Maksymalna liczba punktów 5 różni się od sumy punktów pytań (4): nawet komplet punktów "
         "nie da 100%."},
        {"question cut off",
         [&](TTestDocument& d) { d.questions[0].text = longWords; },
         {TField::Text, 0},
         TSeverity::Warning,
         "W egzaminie widać tylko trzy wiersze pytania; reszta zostanie ucięta (zobacz podgląd)."},
        {"answer cut off",
         [](TTestDocument& d) { d.questions[0].answers[1] = std::string(63, 'x'); },
         {TField::Answer, 0, 1},
         TSeverity::Warning,
         "W egzaminie odpowiedź nie zmieści się w wierszu; koniec zostanie ucięty (zobacz "
         "podgląd)."},
        {"description cut off",
         [&](TTestDocument& d) { d.description = longWords; },
         {TField::Description},
         TSeverity::Warning,
         "Na stronie startowej widać tylko dwa wiersze opisu; reszta zostanie ucięta."},
        {"same answers",
         [](TTestDocument& d) { d.questions[1].answers[3] = "Odp A 2"; },
         {TField::Answer, 1, 3},
         TSeverity::Warning,
         "Taka sama jak odpowiedź A."},
    };
    for (const TCase& c : cases) {
        TTestDocument doc = Valid();
        c.change(doc);
        const std::vector<TCheck> checks = CheckDocument(doc, TFakeRegional(), TFakeMeasure());
        ASSERT_EQ(checks.size(), 1u) << c.name << "\n" << Describe(checks);
        EXPECT_EQ(checks[0].where, c.where) << c.name;
        EXPECT_EQ(checks[0].severity, c.severity) << c.name;
        EXPECT_EQ(checks[0].text, c.text) << c.name;
    }
}

TEST(DocumentChecks, OnlyADateOtherComputersMayNotReadIsWarnedAbout) {
    struct TCase {
        const char* date;
        const char* systemFormat;
        const char* finding; // "" none, else the start of the one finding
    };
    const TCase cases[] = {
        {"08.12.2026", "d.MM.yyyy", ""}, // pl_PL's own format reads it first
        {"08.12.2026", "dd.MM.yyyy", ""},
        {"08.12.2026", "M/d/yy", ""},
        {"08.12.2026", "yyyy-MM-dd", ""},
        {"8.12.2026", "d.MM.yyyy", "uwaga: Program pokaże datę tak, jak jest wpisana"},
        {"5/6/02", "M/d/yy", "uwaga: Data jest zapisana w krótkim formacie daty systemu (M/d/yy)"},
        {"2026-12-08", "yyyy-MM-dd", "uwaga: Data jest zapisana w krótkim formacie"},
        {"2026-12-08", "d.MM.yyyy", "błąd: „2026-12-08” nie jest datą"},
    };
    for (const TCase& c : cases) {
        TTestDocument doc = Valid();
        doc.createdDate = c.date;
        const auto checks = CheckDocument(doc, TFakeRegional(c.systemFormat), TFakeMeasure());
        const std::string found = Describe(checks);
        if (*c.finding == '\0') {
            EXPECT_EQ(found, "") << c.date << " " << c.systemFormat;
            continue;
        }
        ASSERT_EQ(checks.size(), 1u) << c.date << " " << c.systemFormat << "\n" << found;
        EXPECT_NE(found.find(c.finding), std::string::npos) << c.date << " " << found;
    }
}

TEST(DocumentChecks, TwoToFiveAnswersAreATestTheExamShows) {
    const std::pair<int, const char*> cases[] = {
        {5, ""},
        {4, "Pytanie ma 4 odpowiedzi. W egzaminie miejsce odpowiedzi E będzie puste; zdający "
            "może je zaznaczyć, ale to zawsze zła odpowiedź."},
        {3, "Pytanie ma 3 odpowiedzi. W egzaminie miejsca odpowiedzi D i E będą puste; zdający "
            "może je zaznaczyć, ale to zawsze zła odpowiedź."},
        {2, "Pytanie ma 2 odpowiedzi. W egzaminie miejsca odpowiedzi C, D i E będą puste; "
            "zdający może je zaznaczyć, ale to zawsze zła odpowiedź."},
    };
    for (const auto& [count, note] : cases) {
        TTestDocument doc = Valid();
        for (int a = count; a < kAnswerCount; ++a)
            doc.questions[1].answers[static_cast<std::size_t>(a)].clear();
        EXPECT_EQ(Describe(CheckDocument(doc, TFakeRegional(), TFakeMeasure())), "") << count;
        EXPECT_EQ(AnswerCount(doc.questions[1]), count);
        EXPECT_EQ(AnswerCountNote(doc.questions[1]), note);
    }
}
