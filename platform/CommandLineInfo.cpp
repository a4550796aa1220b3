#include "CommandLineInfo.h"

#include "FileVersion.h"

namespace kwizmar {

std::optional<std::string> CommandLineInfo(const std::vector<std::string>& args,
                                           std::string_view program, std::string_view usage) {
    // Only the first argument: the programs take it for a file, and no one
    // names a file "--version" by accident, while "./--help" still opens one.
    if (args.empty())
        return std::nullopt;
    if (args[0] == "--version")
        return std::string(program) + " " + ProgramFileVersion() + "\n";
    if (args[0] == "--help")
        return std::string(usage) + "  --help      wypisuje ten opis i kończy pracę\n"
                                    "  --version   wypisuje wersję programu i kończy pracę\n";
    return std::nullopt;
}

std::variant<TExamArguments, std::string> ReadExamArguments(const std::vector<std::string>& args) {
    TExamArguments read;
    bool options = true, named = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--proba") {
            if (read.trial)
                return std::string("opcja --proba podana dwa razy");
            if (i + 1 >= args.size())
                return std::string("po opcji --proba brakuje nazwy pliku testu");
            read.trial = true;
        } else if (options && arg == "--wyniki") {
            read.results = true;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return "nieznana opcja " + arg;
        } else if (named) {
            return "zbędny argument " + arg + " (program otwiera jeden test)";
        } else {
            read.test = arg;
            named = true;
        }
    }
    if (read.trial && !named)
        return std::string("po opcji --proba brakuje nazwy pliku testu");
    if (read.results && named)
        return std::string("opcja --wyniki otwiera same wyniki egzaminów, bez pliku testu");
    return read;
}

} // namespace kwizmar
