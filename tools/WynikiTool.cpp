#include "WynikiTool.h"

#include "AtomicFile.h"
#include "CommandLineInfo.h"
#include "Errors.h"
#include "ExportCsv.h"
#include "ExportFile.h"
#include "ExportXlsx.h"
#include "QuestionAnalysisTable.h"
#include "ResultsLog.h"
#include "WholeFile.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <tuple>

namespace kwizmar {

namespace {

constexpr const char* kUsage =
    "Użycie:\n"
    "  kwizmar-wyniki csv [DZIENNIK] [-o PLIK.csv] [--test NAZWA] [--from DATA] [--to DATA]\n"
    "  kwizmar-wyniki xlsx [DZIENNIK] -o PLIK.xlsx [--test NAZWA] [--from DATA] [--to DATA]\n"
    "  kwizmar-wyniki pytania [DZIENNIK] [-o PLIK.csv|PLIK.xlsx] [--test NAZWA] [--from DATA]\n"
    "                 [--to DATA]\n"
    "Zapisuje wyniki egzaminów z dziennika (bez DZIENNIKA: z tego, którego używa program)\n"
    "jako arkusz: CSV (bez -o: na wyjście) albo XLSX. --test wybiera wyniki jednego testu,\n"
    "--from i --to egzaminy z tych dni (DATA jako dd.MM.yyyy lub yyyy-MM-dd). Test, którego\n"
    "wyników nie ma w dzienniku, jest błędem: nic nie jest zapisywane.\n"
    "pytania zapisuje analizę pytań (łatwość, moc różnicująca, wybrane odpowiedzi, KR-20)\n"
    "z odpowiedzi egzaminów zapisanych obok dziennika w pliku odpowiedzi-egzaminow.txt;\n"
    "rodzaj arkusza wynika z końcówki nazwy pliku (.xlsx albo .csv).\n";

class EToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command line that makes no command: the text names the argument and
// says what was wanted instead.
class EArgumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Quoted(const std::string& text) {
    return "„" + text + "”";
}

struct TArguments {
    std::string format;
    std::optional<std::string> log, output;
    TExportFilter filter;
};

TDate ReadDate(const std::string& option, const std::string& text) {
    if (auto date = ParseShortDate(text, kPolishShortDateFormat))
        return *date;
    if (auto date = ParseShortDate(text, "yyyy-MM-dd"))
        return *date;
    throw EArgumentError(option + " " + Quoted(text) +
                         ": to nie jest data; podaj ją jako dd.MM.yyyy albo yyyy-MM-dd "
                         "(np. 08.12.2026 albo 2026-12-08)");
}

bool Before(const TDate& a, const TDate& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

TArguments ReadArguments(const std::vector<std::string>& args) {
    if (args.empty())
        throw EArgumentError("brak polecenia: csv, xlsx albo pytania");
    if (args[0] != "csv" && args[0] != "xlsx" && args[0] != "pytania")
        throw EArgumentError("nieznane polecenie " + Quoted(args[0]) + ": csv, xlsx albo pytania");
    TArguments a;
    a.format = args[0];
    // The options with a value: what the value is, in words.
    const std::pair<const char*, const char*> withValue[] = {
        {"-o", "nazwy pliku"}, {"--test", "nazwy testu"}, {"--from", "daty"}, {"--to", "daty"}};
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto option = std::find_if(std::begin(withValue), std::end(withValue),
                                         [&](const auto& o) { return arg == o.first; });
        if (option == std::end(withValue)) {
            if (arg.starts_with("-") && arg != "-")
                throw EArgumentError("nieznana opcja " + Quoted(arg));
            if (a.log)
                throw EArgumentError("dwa dzienniki: " + Quoted(*a.log) + " i " + Quoted(arg) +
                                     "; podaj jeden");
            a.log = arg;
            continue;
        }
        if (i + 1 == args.size())
            throw EArgumentError(arg + ": brak " + option->second);
        const std::string& value = args[++i];
        const bool given = (arg == "-o" && a.output) || (arg == "--test" && a.filter.test) ||
                           (arg == "--from" && a.filter.from) || (arg == "--to" && a.filter.to);
        if (given)
            throw EArgumentError(arg + " podano dwa razy");
        if (arg == "-o")
            a.output = value;
        else if (arg == "--test")
            a.filter.test = value;
        else
            (arg == "--from" ? a.filter.from : a.filter.to) = ReadDate(arg, value);
    }
    if (a.format == "xlsx" && !a.output)
        throw EArgumentError("xlsx: brak nazwy pliku skoroszytu: -o PLIK.xlsx");
    if (a.filter.from && a.filter.to && Before(*a.filter.to, *a.filter.from))
        throw EArgumentError("--from " + FormatDate(*a.filter.from, kPolishShortDateFormat) +
                             " jest po --to " + FormatDate(*a.filter.to, kPolishShortDateFormat) +
                             ": nie ma takich dni");
    return a;
}

struct TLog {
    std::string path;
    std::vector<TResultLine> lines;
};

TLog ReadLog(const TArguments& a, IRegistry& registry) {
    TLog log;
    if (a.log) {
        log.path = *a.log;
    } else {
        TResultsLog results(registry);
        log.path = results.Locate();
    }
    std::string bytes;
    bool found = false;
    try {
        found = ReadWholeFile(log.path, bytes);
    } catch (const EPlatformError&) {
        throw EToolError("nie można odczytać pliku " + log.path);
    }
    // The program's own log may not be there yet: no exam has ended.
    if (!found && a.log)
        throw EToolError("nie ma pliku " + log.path);
    for (const std::string& line : ParseLog(bytes))
        log.lines.push_back(ParseResultLine(line));
    return log;
}

// The analysis of the questions, from the records beside the log.
void WriteAnalysis(const TArguments& a, const TLog& log, const TExportTable& table,
                   std::ostream& out, std::ostream& err) {
    const std::string path = AnswerRecordsPath(log.path).string();
    std::string records;
    try {
        ReadWholeFile(path, records);
    } catch (const EPlatformError&) {
        throw EToolError("nie można odczytać pliku " + path);
    }
    const TQuestionAnalysis analysis = AnalyseQuestions(log.lines, records, table, a.filter);
    if (analysis.withoutRecord > 0)
        err << "kwizmar-wyniki: " << MissingDataNote(analysis.withoutRecord)
            << " (nie ma ich w pliku " << path << ")\n";
    try {
        if (a.output)
            ExportQuestionAnalysis(*a.output, analysis);
        else
            out << AnalysisCsv(analysis) << std::flush;
    } catch (const EPlatformError&) {
        throw EToolError("nie można zapisać pliku " + a.output.value_or("na wyjście"));
    }
}

// A test named that the log holds no exam of is a mistake (a typo, another
// log): an empty sheet would hide it. The tests it does hold are listed.
void RequireTest(const TLog& log, const TExportTable& table, const std::string& test) {
    TExportFilter byName;
    byName.test = test;
    std::vector<std::string> names;
    for (const TResultLine& line : log.lines) {
        if (table.Matches(line, byName))
            return;
        if (line.fields &&
            std::find(names.begin(), names.end(), TestTitle(*line.fields)) == names.end())
            names.push_back(TestTitle(*line.fields));
    }
    std::string text = "w dzienniku " + log.path + " nie ma wyników testu " + Quoted(test);
    if (names.empty())
        text += "; nie ma w nim wyników żadnego testu";
    else
        text += "; są w nim wyniki testów:";
    constexpr std::size_t kListed = 10;
    for (std::size_t i = 0; i < names.size() && i < kListed; ++i)
        text += (i ? ", " : " ") + Quoted(names[i]);
    if (names.size() > kListed)
        text += " i " + std::to_string(names.size() - kListed) + " innych";
    throw EToolError(text);
}

} // namespace

int RunWynikiTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const IRegionalSettings& regional, IRegistry& registry) {
    if (const auto info = CommandLineInfo(args, "kwizmar-wyniki", kUsage)) {
        out << *info;
        return 0;
    }
    if (args.size() == 1 && args[0] == "-h") {
        out << kUsage;
        return 0;
    }
    std::optional<TArguments> a;
    try {
        a = ReadArguments(args);
    } catch (const EArgumentError& e) {
        err << "kwizmar-wyniki: " << e.what() << "\n";
        if (args.empty())
            err << kUsage;
        else
            err << "(kwizmar-wyniki --help wypisuje sposób użycia)\n";
        return 2;
    }
    try {
        const TLog log = ReadLog(*a, registry);
        const std::vector<TResultLine>& lines = log.lines;
        const TExportTable table(regional.ShortDateFormat());
        if (a->filter.test)
            RequireTest(log, table, *a->filter.test);
        if (a->format == "pytania") {
            WriteAnalysis(*a, log, table, out, err);
            return 0;
        }
        try {
            if (a->format == "xlsx") {
                ExportXlsx(*a->output, lines, table, a->filter);
            } else {
                const std::string csv = ExportCsv(lines, table, a->filter);
                if (a->output)
                    WriteFileAtomically(*a->output, csv);
                else
                    out << csv << std::flush;
            }
        } catch (const EPlatformError&) {
            throw EToolError("nie można zapisać pliku " + a->output.value_or("na wyjście"));
        }
    } catch (const EToolError& e) {
        err << "kwizmar-wyniki: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace kwizmar
