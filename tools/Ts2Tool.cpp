#include "Ts2Tool.h"

#include "AtomicFile.h"
#include "CommandLineInfo.h"
#include "Cp1250.h"
#include "EdytorLogic.h"
#include "Errors.h"
#include "Paths.h"
#include "QuestionImport.h"
#include "TestLoader.h"
#include "Text.h"
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

// Whether the editor's import finds questions in the file.
bool HoldsQuestions(const std::string& path) {
    try {
        return !ImportQuestionsFromFile(path).questions.empty();
    } catch (const EPlatformError&) {
        return false;
    }
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
    if (!report.rejection.empty()) {
        std::string text = source + ": program odrzuciłby ten test: " + report.rejection;
        if (HoldsQuestions(source))
            text += "\nkwizmar-ts2: " + source + " to pytania w formacie GIFT albo Aiken? " +
                    "Test z nich zrobi: kwizmar-ts2 import " + source + " " + target;
        throw ETs2ToolError(text);
    }
    for (const std::string& note : report.notes)
        err << source << ": uwaga: " << note << "\n";
    WriteWholeFile(target, packed);
}

// The command line draws nothing: to its checks every text fits its line. What
// an exam cuts off is the editor's preview to show.
class TNoFontMeasure final : public ITextMeasure {
public:
    int TextWidth(std::string_view, const TFontSpec&) const override { return 0; }
};

// Where a finding of the editor's checks is, for the teacher to find it in
// the file: the field and the beginning of its question.
std::string PlaceOf(const TTestDocument& doc, const TCheck& check) {
    std::string place = FieldName(check.where);
    if (check.where.question < 0)
        return place;
    constexpr std::size_t kShown = 40;
    std::string text = doc.questions[static_cast<std::size_t>(check.where.question)].text;
    if (CodePointCount(text) > kShown) {
        std::size_t end = 0;
        char32_t cp;
        for (std::size_t n = 0; n < kShown && end < text.size(); ++n)
            if (!NextCodePoint(text, end, cp))
                ++end;
        text = text.substr(0, end) + "…";
    }
    return place + " (" + Quoted(text) + ")";
}

// The questions of `source` (GIFT or Aiken) as a new test of the editor,
// named after the file, written to `target` when the program would take it.
void Import(const std::string& source, const std::string& target, std::ostream& out,
            std::ostream& err, const IRegionalSettings& regional, const TDate& today) {
    RequireTestName(target);
    TImportedQuestions imported;
    try {
        imported = ImportQuestionsFromFile(source);
    } catch (const EPlatformError&) {
        throw ETs2ToolError("nie można otworzyć pliku " + source);
    }
    for (const TImportRefusal& refusal : imported.refusals)
        err << source << ":" << refusal.line << ": " << refusal.reason << "\n";
    if (imported.questions.empty())
        throw ETs2ToolError(source + ": nie ma w nim pytań, które test może przyjąć" +
                            (imported.refusals.empty() ? " (ani w formacie GIFT, ani Aiken)" : ""));

    const TNoFontMeasure measure;
    TEdytorLogic editor(regional, measure, today);
    editor.AppendQuestions(imported.questions);
    editor.SetText({TField::Name}, Utf8FromPath(PathFromUtf8(source).stem()));
    const TTestDocument& doc = editor.Document();
    for (const TCheck& check : editor.Checks())
        err << source << ": " << (check.severity == TSeverity::Error ? "" : "uwaga: ")
            << PlaceOf(doc, check) << ": " << check.text << "\n";
    if (editor.ErrorCount() > 0)
        throw ETs2ToolError(source + ": nie zapisano testu: program odrzuciłby go przez błędy "
                                     "wypisane wyżej");
    const TCheckReport report = CheckTestFile(target, StoredBytes(doc), regional);
    if (!report.rejection.empty())
        throw ETs2ToolError(source +
                            ": nie zapisano testu: program odrzuciłby go: " + report.rejection);

    TSaveOutcome outcome;
    try {
        outcome = editor.SaveAs(target);
    } catch (const EPlatformError&) {
        throw ETs2ToolError("nie można utworzyć pliku " + target);
    }
    if (outcome == TSaveOutcome::ReadOnly)
        throw ETs2ToolError(target + ": plik jest tylko do odczytu, test nie został zapisany");
    if (outcome != TSaveOutcome::Saved)
        throw ETs2ToolError("nie można utworzyć pliku " + target);
    const auto n = static_cast<long long>(doc.questions.size());
    out << target << ": zapisano test " << doc.nameLine << ": " << n << " "
        << PolishPlural(n, "pytanie", "pytania", "pytań") << " z pliku " << source << "\n";
    if (!imported.convertedLines.empty()) {
        out << source << ": pytania zapisane w HTML lub Markdown zamieniono na zwykły tekst ("
            << (imported.convertedLines.size() == 1 ? "wiersz" : "wiersze") << " pliku:";
        const char* separator = " ";
        for (const int line : imported.convertedLines) {
            out << separator << line;
            separator = ", ";
        }
        out << ")\n";
    }
}

constexpr const char* kUsage =
    "Użycie:\n"
    "  kwizmar-ts2 pack ŹRÓDŁO.txt TEST.ts2     zamienia tekst UTF-8 na plik testowy\n"
    "  kwizmar-ts2 unpack TEST.ts2 [ŹRÓDŁO.txt] odtwarza tekst testu (bez drugiej nazwy: na "
    "wyjście)\n"
    "  kwizmar-ts2 check TEST.ts2...            sprawdza, czy program przyjmie każdy z plików\n"
    "  kwizmar-ts2 import PYTANIA TEST.ts2      robi test z pytań w formacie GIFT albo Aiken\n"
    "                                           (albo z innego testu .ts2 lub jego tekstu)\n";

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
               const IRegionalSettings& regional, const TDate& today) {
    if (const auto info = CommandLineInfo(args, "kwizmar-ts2", kUsage)) {
        out << *info;
        return 0;
    }
    const std::string command = args.empty() ? std::string() : args[0];
    const bool validArgs = ((command == "pack" || command == "import") && args.size() == 3) ||
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
        } else if (command == "import") {
            Import(args[1], args[2], out, err, regional, today);
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
