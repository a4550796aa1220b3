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

} // namespace kwizmar
