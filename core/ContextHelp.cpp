#include "ContextHelp.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace kwizmar {

namespace {

constexpr THelpEntry kOpcje{"Po kliknięciu w ten przycisk urzytkownik programu",
                            "ma możliwość dokonania kilku zmian związanych",
                            "z pracą programu i jego wyglądem zewnętrznym [Alt + O]"};
constexpr THelpEntry kStart{"Kliknięcie w ten przycisk spowoduje rozpoczęcie",
                            "egzaminowania z wybranego przez ciebie testu [ENTER] lub [Alt + S]",
                            ""};
constexpr THelpEntry kAbout{"Klikając w ten przycisk spowoduje wyświetlenie okna",
                            "z informacjami dotyczącymi programu i jego autora [Alt + U]", ""};
constexpr THelpEntry kZamknij{
    "Jeżeli znudziła Ci się już zabawa z programem", "i jesteś niezadowolony z wyników testu",
    "w każdej chwili możesz to przerwać klikając w ten przycisk [Alt + Z]"};
constexpr THelpEntry kPowrot{"Jeżeli wybrałeś niewłaściwy test i chciałbyś go zmienić",
                             "możesz to zrobić kikając w ten przycisk,",
                             "bez potrzeby ponownego uruchamiania programu [Alt + P]"};
constexpr THelpEntry kEgzaminuj{
    "Przeszedłeś egzamin. Gratulacje. Jeżeli jednak ocena niesatysfakcjonuje cię",
    "i chciałbyś ją poprawić nic prostrzego.",
    "Wystarczy kliknąć w ten przycisk, aby ponownie sprawdzić się z tym czy innym testem "
    "[Alt + E]"};
constexpr THelpEntry kStatystyki{
    "Jeżeli chciałbyś przejrzeć twoje wcześniejsze osiągnięcia związane z tym testem kliknij w "
    "ten przycisk.",
    "Znajdują się tu wpisy o wszystkich ostatnio \"rozwalanych\" przez ciebie testach [Alt+S]", ""};
constexpr THelpEntry kCheck{"Jeżeli uważasz że wybrana przez ciebie odpowiedź jest prawidłowa",
                            "to klikając na ten przycisk możesz to sprawdzić i przejść "
                            "jednocześnie",
                            "do następnego pytania [ENTER] lub [Alt + K]"};
constexpr THelpEntry kVerdictOk{
    "Ten przycisk pojawia się gdy odpowiesz prawidłowo lub nie na pytanie",
    "Gdy dasz złą odpowiedź samodzielną i przechodzisz do formy testowej zawsze",
    "musisz na niego kliknąć. Poza tym klikając na niego przechodzisz do następnego pytania "
    "[ENTER]"};
constexpr THelpEntry kName{"Jeżeli pierwszy raz uruchamiasz program to",
                           "w to pole należy wpisać swoje imię",
                           "później program już je pamięta, oczywiście imię można zmieniać w "
                           "każdej chwili [ENTER]"};
constexpr THelpEntry kTime{"W tym polu możesz zmienić czas przeznaczony na egzamin",
                           "Standardowo jest to 10 min, ale zawsze można to zmieniać [ENTER]", ""};
constexpr THelpEntry kWybierz{
    "Jeżeli jeszcze nie wybrałeś pliku z testem,to zrób to klikając w ten przycisk.",
    "Później już tylko należy wybrać odpowiedną nazwę testu.",
    "Wybierając nazwę testu pojawi się jego dokładniejszy opis"};
constexpr THelpEntry kHeader{"Jest to nagłówek Kwizmara",
                             "Znajdziesz tu wszystkie informacje dotyczące testu",
                             "Jest tu nazwa urzytkownika, nazwa testu, data i czas rozpoczęcia, "
                             "czas egzaminu itd., aż do oceny"};
constexpr THelpEntry kQuestion{"Tytaj znajduje się puyanie, na które musisz odpowiedzieć",
                               "i to najlepiej pozytywnie", ""};
constexpr THelpEntry kAnswer{
    "Jeżeli jesteś przekonany, że to właśnie ta odpowiedź jest prawdziwa,to nie zastanawiaj",
    "się tylko ją zaznacz,bo czas ucieka. Aby ją zaznaczyć należy klikąć na nią",
    "[A, B, C, D, E] - w zależności od wybranej przez ciebie odpowiedzi"};
constexpr THelpEntry kSam{"Jeżeli znasz prawidłową odpowiedź na powyrzsze pytanie",
                          "i sam jesteś w stanie ją wpisać to polecam",
                          "tę formę pytania. Można odzyskać stracone punkty. [Alt + S] lun "
                          "[SPACJA]"};
constexpr THelpEntry kTest{
    "Jeżeli do powyższego pytania nie jesteś przekonany, i nie znasz do końca",
    "prawidłowej odpowiedzi wybierz tę formę pytania",
    "Odpowiedzi wyświetlą ci się w znanej już formie testowej [Alt + T] lub [SPACJA]"};
constexpr THelpEntry kDalej{"Jeżeli wybrałeś już odpowiednią formę pytania,",
                            "to chcąc do niej przejść musisz kliknąć w ten przycisk [ENTER]", ""};
constexpr THelpEntry kSamEdit{
    "Jeżeli jesteś na tyle dobry, i znasz doskonale odpowiedź na jakieś pytanie,",
    "które ma dodatkowo możliwość wybrania odpowiedzi samodzienej,",
    "to odpowiedź musisz w to pole wpisać [ENTER]"};

constexpr std::array<std::pair<std::string_view, const THelpEntry*>, 33> kHelp = {{
    {"SpeedButton5", &kOpcje},
    {"SpeedButton3", &kStart},
    {"SpeedButton4", &kAbout},
    {"SpeedButton1", &kZamknij},
    {"SpeedButton14", &kPowrot},
    {"SpeedButton9", &kEgzaminuj},
    {"SpeedButton10", &kStatystyki},
    {"SpeedButton6", &kCheck},
    {"SpeedButton12", &kCheck},
    {"SpeedButton8", &kVerdictOk},
    {"SpeedButton13", &kVerdictOk},
    {"NameEdit", &kName},
    {"SETime", &kTime},
    {"SpeedButton2", &kWybierz},
    {"naglowek1", &kHeader},
    {"naglowek2", &kHeader},
    {"L1", &kQuestion},
    {"L2", &kQuestion},
    {"L3", &kQuestion},
    {"A", &kAnswer},
    {"B", &kAnswer},
    {"C", &kAnswer},
    {"D", &kAnswer},
    {"E", &kAnswer},
    {"odpA", &kAnswer},
    {"odpB", &kAnswer},
    {"odpC", &kAnswer},
    {"odpD", &kAnswer},
    {"odpE", &kAnswer},
    {"RBSam", &kSam},
    {"RBTest", &kTest},
    {"SpeedButton7", &kDalej},
    {"SamEdit", &kSamEdit},
}};

} // namespace

const THelpEntry* HelpFor(std::string_view controlName) {
    for (const auto& [name, entry] : kHelp)
        if (name == controlName)
            return entry;
    return nullptr;
}

std::vector<std::string_view> HelpControlNames() {
    std::vector<std::string_view> names;
    for (const auto& [name, entry] : kHelp)
        names.push_back(name);
    return names;
}

THelpPlacement PlaceHelpPanel(TScreenPoint pointer, TWindowFrame window, int panelWidth,
                              int panelHeight) {
    // The pointer's position can be anywhere on a screen; keep the sums in range.
    auto clampToInt = [](std::int64_t v) {
        return static_cast<int>(
            std::max<std::int64_t>(INT32_MIN, std::min<std::int64_t>(INT32_MAX, v)));
    };
    THelpPlacement placement{clampToInt(std::int64_t{pointer.x} - window.left),
                             clampToInt(std::int64_t{pointer.y} - window.top)};
    if (std::int64_t{placement.left} + panelWidth > window.width)
        placement.left = window.width - panelWidth - 8;
    if (std::int64_t{placement.top} + panelHeight > std::int64_t{window.height} - 18)
        placement.top = window.height - panelHeight - 36;
    // Inside the client area, whatever the frame's size.
    placement.left = static_cast<int>(
        std::min<std::int64_t>(placement.left, std::int64_t{window.clientWidth} - panelWidth));
    placement.top = static_cast<int>(
        std::min<std::int64_t>(placement.top, std::int64_t{window.clientHeight} - panelHeight));
    // A panel too big for the window starts at its edge, never before it.
    placement.left = std::max(0, placement.left);
    placement.top = std::max(0, placement.top);
    return placement;
}

namespace {

constexpr THelpEntry kEksportuj{
    "Klikając w ten przycisk zapiszesz wyniki z listy jako skoroszyt programu Excel",
    "albo plik CSV, który otworzy każdy arkusz kalkulacyjny.",
    "Oceny przeniesiesz stamtąd do dziennika szkolnego [Alt + E]"};
constexpr THelpEntry kKlasa{"Kliknięcie w ten przycisk pokaże, jak klasie poszedł wybrany test:",
                            "liczbę egzaminów, średni, najniższy i najwyższy wynik",
                            "oraz wykres ocen, który można wydrukować [Alt + K]"};
constexpr THelpEntry kTestBox{"Tu wybierasz test, którego wyniki chcesz podsumować.",
                              "Na liście są wszystkie testy zapisane w statystykach [Alt + T]", ""};
constexpr THelpEntry kDays{"W tych polach wybierasz, z których dni liczą się egzaminy.",
                           "Pierwszy i ostatni dzień też się liczą [Alt + O] i [Alt + N]", ""};
constexpr THelpEntry kPrintSummary{"Klikając w ten przycisk wydrukujesz na jednej stronie",
                                   "wykres ocen, wyniki klasy i listę uczniów z ich ocenami",
                                   "[Alt + D]"};
constexpr THelpEntry kExportSummary{"Klikając w ten przycisk zapiszesz jako arkusz",
                                    "tylko wyniki wybranego testu z wybranych dni [Alt + E]", ""};
constexpr THelpEntry kCloseSummary{"Ten przycisk zamyka podsumowanie klasy",
                                   "i wraca do statystyk [Alt + Z]", ""};
constexpr THelpEntry kAnaliza{"Kliknięcie w ten przycisk pokaże, jak poszło każde pytanie",
                              "testu wybranej linii: łatwość, moc różnicującą i wybierane",
                              "odpowiedzi, do wydruku albo arkusza [Alt + P]"};
constexpr THelpEntry kAnalysisTest{"Tu wybierasz test, którego pytania chcesz zobaczyć.",
                                   "Na liście są wszystkie testy zapisane w statystykach [Alt + T]",
                                   ""};
constexpr THelpEntry kVersion{"Test zmieniony między egzaminami ma kilka wersji, każdą",
                              "z własną tabelą; tu wybierasz, którą pokazać [Alt + W]", ""};
constexpr THelpEntry kAnalysisDays{"W tych polach wybierasz, z których dni liczą się egzaminy.",
                                   "Pierwszy i ostatni dzień też się liczą [Alt + O] i [Alt + N]",
                                   ""};
constexpr THelpEntry kTabela{"Każde pytanie: jaka część odpowiadających odpowiedziała dobrze",
                             "(łatwość), o ile lepiej najlepsi niż najsłabsi (moc różnicująca)",
                             "i ile razy wybrano każdą literę; klucz jest zielony i ma znak ✓"};
constexpr THelpEntry kExportAnalysis{"Klikając w ten przycisk zapiszesz analizę pytań testu",
                                     "z wybranych dni jako skoroszyt albo plik CSV [Alt + E]", ""};
constexpr THelpEntry kPrintAnalysis{"Klikając w ten przycisk wydrukujesz na jednej stronie",
                                    "wyniki testu i tabelę jego pytań [Alt + D]", ""};
constexpr THelpEntry kCloseAnalysis{"Ten przycisk zamyka analizę pytań",
                                    "i wraca do statystyk [Alt + Z]", ""};

} // namespace

const THelpEntry* ResultsHelpFor(std::string_view name) {
    static constexpr std::pair<std::string_view, const THelpEntry*> kEntries[] = {
        {"SpeedButton6", &kEksportuj},
        {"SpeedButton7", &kKlasa},
        {"SpeedButton8", &kAnaliza},
        {"TestBox", &kTestBox},
        {"FromDate", &kDays},
        {"ToDate", &kDays},
        {"PrintButton", &kPrintSummary},
        {"ExportButton", &kExportSummary},
        {"CloseButton", &kCloseSummary},
    };
    for (const auto& [control, entry] : kEntries)
        if (control == name)
            return entry;
    return nullptr;
}

const THelpEntry* AnalysisHelpFor(std::string_view name) {
    static constexpr std::pair<std::string_view, const THelpEntry*> kEntries[] = {
        {"TestBox", &kAnalysisTest},
        {"VersionBox", &kVersion},
        {"FromDate", &kAnalysisDays},
        {"ToDate", &kAnalysisDays},
        {"Tabela", &kTabela},
        {"ExportButton", &kExportAnalysis},
        {"PrintButton", &kPrintAnalysis},
        {"CloseButton", &kCloseAnalysis},
    };
    for (const auto& [control, entry] : kEntries)
        if (control == name)
            return entry;
    return nullptr;
}

} // namespace kwizmar
