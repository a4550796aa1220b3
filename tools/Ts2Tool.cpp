#include "Ts2Tool.h"

#include "AtomicFile.h"
#include "CommandLineInfo.h"
#include "Errors.h"
#include "Paths.h"
#include "TestLoader.h"
#include "WholeFile.h"

#include <ostream>

namespace kwizmar {

namespace {

std::string ReadSource(const std::string& path) {
    std::string bytes;
    switch (TryReadWholeFile(PathFromUtf8(path), bytes)) {
    case TWholeFileRead::Read:
        return bytes;
    case TWholeFileRead::Folder:
        throw ETs2ToolError("nie można odczytać pliku " + path + ": to jest katalog");
    case TWholeFileRead::CannotRead:
        throw ETs2ToolError("błąd odczytu pliku " + path);
    default:
        throw ETs2ToolError("nie można otworzyć pliku " + path);
    }
}

// Replaces the file whole: a write that fails leaves what was there before.
void WriteWholeFile(const std::string& path, const std::string& bytes) {
    try {
        WriteFileAtomically(PathFromUtf8(path), bytes);
    } catch (const EPlatformError&) {
        throw ETs2ToolError("nie można utworzyć pliku " + path);
    }
}

// The program opens a test only by its extension.
void RequireTestName(const std::string& path) {
    if (!HasTestFileExtension(path))
        throw ETs2ToolError(path + ": program nie otworzy tego pliku: rozszerzenie nazwy pliku "
                                   "testu musi być dokładnie .ts2 albo .TS2");
}

// Packs the source into `target` when the program would take the test; a
// source it would reject (any text at all packs) writes nothing.
void Pack(const std::string& source, const std::string& target, std::ostream& err,
          const IRegionalSettings& regional) {
    RequireTestName(target);
    const std::string text = ReadSource(source);
    if (text.empty())
        throw ETs2ToolError(source + ": plik jest pusty, nie ma w nim testu");
    std::string packed;
    try {
        packed = PackTestSource(text);
    } catch (const ETestSourceError& e) {
        throw ETs2ToolError(source + ": " + e.what());
    }
    const TCheckReport report = CheckTestFile(target, packed, regional);
    if (!report.rejection.empty())
        throw ETs2ToolError(source + ": program odrzuciłby ten test: " + report.rejection);
    for (const std::string& note : report.notes)
        err << source << ": uwaga: " << note << "\n";
    WriteWholeFile(target, packed);
}

constexpr const char* kUsage =
    "Użycie:\n"
    "  kwizmar-ts2 pack ŹRÓDŁO.txt TEST.ts2     zamienia tekst UTF-8 na plik testowy\n"
    "  kwizmar-ts2 unpack TEST.ts2 [ŹRÓDŁO.txt] odtwarza tekst testu (bez drugiej nazwy: na "
    "wyjście)\n"
    "  kwizmar-ts2 check TEST.ts2...            sprawdza, czy program przyjmie każdy z plików\n";

// Checks one file; false when the program would reject it.
bool CheckOne(const std::string& path, std::ostream& out, std::ostream& err,
              const IRegionalSettings& regional) {
    const TCheckReport report = CheckTestFile(path, ReadSource(path), regional);
    if (!report.rejection.empty()) {
        err << path << ": program odrzuci ten plik: " << report.rejection << "\n";
        return false;
    }
    out << path << ": " << report.summary << "\n" << report.dateFormat << "\n";
    for (const std::string& note : report.notes)
        out << "uwaga: " << note << "\n";
    return true;
}

} // namespace

int RunTs2Tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const IRegionalSettings& regional) {
    if (const auto info = CommandLineInfo(args, "kwizmar-ts2", kUsage)) {
        out << *info;
        return 0;
    }
    const std::string command = args.empty() ? std::string() : args[0];
    const bool validArgs = (command == "pack" && args.size() == 3) ||
                           (command == "unpack" && (args.size() == 2 || args.size() == 3)) ||
                           (command == "check" && args.size() >= 2);
    if (!validArgs) {
        if (command == "-h") {
            out << kUsage;
            return 0;
        }
        err << "kwizmar-ts2: błędne argumenty\n" << kUsage;
        return 2;
    }
    try {
        if (command == "pack") {
            Pack(args[1], args[2], err, regional);
        } else if (command == "unpack") {
            const std::string text = UnpackTestFile(ReadSource(args[1]));
            if (args.size() == 3)
                WriteWholeFile(args[2], text);
            else
                out << text;
        } else {
            // Every file named is checked, also after one that fails.
            bool allAccepted = true;
            for (std::size_t i = 1; i < args.size(); ++i) {
                try {
                    allAccepted = CheckOne(args[i], out, err, regional) && allAccepted;
                } catch (const ETs2ToolError& e) {
                    err << "kwizmar-ts2: " << e.what() << "\n";
                    allAccepted = false;
                }
            }
            return allAccepted ? 0 : 1;
        }
    } catch (const ETs2ToolError& e) {
        err << "kwizmar-ts2: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace kwizmar
