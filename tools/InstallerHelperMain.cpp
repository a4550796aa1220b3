// kwizmar-instalator: what the Windows installer and uninstaller ask of the
// system that NSIS can't do by itself. It is carried inside them and never
// installed.
//   kwizmar-instalator czekaj SEKUNDY FOLDER...
//       waits at most SEKUNDY for the programs in the FOLDERs to stop running
//   kwizmar-instalator zamknij SEKUNDY FOLDER...
//       the same, then asks those still running to end as Windows asks a
//       program to close for an installation, and waits for them once more
//   kwizmar-instalator ten-sam PLIK WZÓR
//       whether PLIK holds the very bytes of WZÓR
// Each prints the programs that still run, each once on a line of its own,
// and ends with 0 when none does (the files are the same), 1 when some do
// (they differ or PLIK is missing), 2 on a wrong command line.

#include "Paths.h"
#include "RunningCopies.h"
#include "WholeFile.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include <windows.h>

#include <shellapi.h>

namespace {

// How long a program that was asked to end may take to finish: it writes its
// journal and lifts the lockdown first.
constexpr std::chrono::seconds kEnding{20};

int Report(const std::vector<kwizmar::TRunningCopy>& left) {
    std::vector<std::string> named;
    for (const auto& copy : left)
        if (std::find(named.begin(), named.end(), copy.program) == named.end()) {
            named.push_back(copy.program);
            std::cout << copy.program << "\n";
        }
    std::cout << std::flush;
    return left.empty() ? 0 : 1;
}

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i)
        args.push_back(kwizmar::Utf8FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return args;
}

} // namespace

int main() {
    const std::vector<std::string> args = Arguments();
    const std::string verb = args.empty() ? "" : args[0];
    if (verb == "ten-sam" && args.size() == 3) {
        std::string file, model;
        const bool same = kwizmar::TryReadWholeFile(kwizmar::PathFromUtf8(args[1]), file) ==
                              kwizmar::TWholeFileRead::Read &&
                          kwizmar::TryReadWholeFile(kwizmar::PathFromUtf8(args[2]), model) ==
                              kwizmar::TWholeFileRead::Read &&
                          file == model;
        return same ? 0 : 1;
    }
    unsigned long seconds = 0;
    try {
        if (args.size() >= 3)
            seconds = std::stoul(args[1]);
    } catch (const std::exception&) {
        seconds = ~0ul;
    }
    if ((verb != "czekaj" && verb != "zamknij") || args.size() < 3 || seconds > 86400) {
        std::cerr << "Użycie: kwizmar-instalator czekaj|zamknij SEKUNDY FOLDER...\n"
                     "       kwizmar-instalator ten-sam PLIK WZÓR\n";
        return 2;
    }
    const std::vector<std::string> folders(args.begin() + 2, args.end());
    auto left = kwizmar::WaitForTheEnd(folders, std::chrono::seconds(seconds));
    if (verb == "zamknij" && !left.empty()) {
        kwizmar::AskToEnd(left, std::chrono::seconds(5));
        left = kwizmar::WaitForTheEnd(folders, kEnding);
    }
    return Report(left);
}
