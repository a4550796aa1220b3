#include "WynikiTool.h"

#include "AtomicFile.h"
#include "CommandLineInfo.h"
#include "Errors.h"
#include "ExportCsv.h"
#include "ExportXlsx.h"
#include "ResultsLog.h"
#include "WholeFile.h"

#include <optional>
#include <ostream>
#include <stdexcept>

namespace kwizmar {

namespace {

constexpr const char* kUsage =
    "Użycie:\n"
    "  kwizmar-wyniki csv [DZIENNIK] [-o PLIK.csv] [--test NAZWA] [--from DATA] [--to DATA]\n"
    "  kwizmar-wyniki xlsx [DZIENNIK] -o PLIK.xlsx [--test NAZWA] [--from DATA] [--to DATA]\n"
    "Zapisuje wyniki egzaminów z dziennika (bez DZIENNIKA: z tego, którego używa program)\n"
    "jako arkusz: CSV (bez -o: na wyjście) albo XLSX. --test wybiera wyniki jednego testu,\n"
    "--from i --to egzaminy z tych dni (DATA jako dd.MM.yyyy lub yyyy-MM-dd).\n";

class EToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TArguments {
    std::string format;
    std::optional<std::string> log, output;
    TExportFilter filter;
};

std::optional<TDate> ReadDate(const std::string& text) {
    if (auto date = ParseShortDate(text, kPolishShortDateFormat))
        return date;
    return ParseShortDate(text, "yyyy-MM-dd");
}

// Nothing when the arguments don't make a command.
std::optional<TArguments> ReadArguments(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "csv" && args[0] != "xlsx"))
        return std::nullopt;
    TArguments a;
    a.format = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "-o" && hasValue && !a.output) {
            a.output = args[++i];
        } else if (arg == "--test" && hasValue && !a.filter.test) {
            a.filter.test = args[++i];
        } else if ((arg == "--from" || arg == "--to") && hasValue) {
            const auto date = ReadDate(args[++i]);
            auto& bound = arg == "--from" ? a.filter.from : a.filter.to;
            if (!date || bound)
                return std::nullopt;
            bound = date;
        } else if (!arg.starts_with("-") && !a.log) {
            a.log = arg;
        } else {
            return std::nullopt;
        }
    }
    if (a.format == "xlsx" && !a.output)
        return std::nullopt;
    return a;
}

std::vector<TResultLine> ReadLog(const TArguments& a, IRegistry& registry) {
    std::string path;
    if (a.log) {
        path = *a.log;
    } else {
        TResultsLog log(registry);
        path = log.Locate();
    }
    std::string bytes;
    bool found = false;
    try {
        found = ReadWholeFile(path, bytes);
    } catch (const EPlatformError&) {
        throw EToolError("nie można odczytać pliku " + path);
    }
    // The program's own log may not be there yet: no exam has ended.
    if (!found && a.log)
        throw EToolError("nie ma pliku " + path);
    std::vector<TResultLine> lines;
    for (const std::string& line : ParseLog(bytes))
        lines.push_back(ParseResultLine(line));
    return lines;
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
    const std::optional<TArguments> a = ReadArguments(args);
    if (!a) {
        err << "kwizmar-wyniki: błędne argumenty\n" << kUsage;
        return 2;
    }
    try {
        const std::vector<TResultLine> lines = ReadLog(*a, registry);
        const TExportTable table(regional.ShortDateFormat());
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
