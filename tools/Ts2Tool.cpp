#include "Ts2Tool.h"

#include "Cp1250.h"
#include "Paths.h"
#include "StrToInt.h"
#include "TestFile.h"
#include "TestLoader.h"
#include "WholeFile.h"

#include <cstdio>
#include <fstream>
#include <ostream>

namespace kwizmar {

namespace {

std::vector<std::string_view> SplitSourceLines(std::string_view text, bool& finalBreak) {
    std::vector<std::string_view> lines;
    finalBreak = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    else
        finalBreak = !lines.empty();
    return lines;
}

std::string Where(std::size_t line, std::size_t column) {
    return "wiersz " + std::to_string(line) + ", znak " + std::to_string(column);
}

std::string CodePointName(char32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

// Checks one source line character by character; throws with its position.
void CheckSourceLine(std::string_view line, std::size_t number) {
    std::size_t pos = 0;
    std::size_t column = 1;
    while (pos < line.size()) {
        const std::size_t start = pos;
        char32_t cp;
        if (!NextCodePoint(line, pos, cp))
            throw ETs2ToolError(Where(number, column) + ": nieprawidłowy zapis UTF-8");
        if ((cp < 0x20 && cp != '\t') || cp == 0x7F)
            throw ETs2ToolError(Where(number, column) + ": znak sterujący " + CodePointName(cp) +
                                " nie może wystąpić w pliku testowym");
        if (!InCp1250(cp))
            throw ETs2ToolError(Where(number, column) + ": znaku „" +
                                std::string(line.substr(start, pos - start)) + "” (" +
                                CodePointName(cp) + ") nie ma w stronie kodowej Windows-1250");
        ++column;
    }
}

std::string LineName(int index) {
    switch (index) {
    case 1:
        return "nazwa testu";
    case 3:
        return "data utworzenia";
    case 4:
        return "liczba pytań";
    case 5:
        return "maksymalna liczba punktów";
    case 6:
        return "liczba odpowiedzi samodzielnych";
    default:
        return "";
    }
}

std::string Quoted(const std::string& text) {
    return "„" + text + "”";
}

std::string SystemDateFormatName(const std::string& format) {
    return "w krótkim formacie daty systemu (" + format + ")";
}

std::string PolishDateFormatName() {
    return std::string("w polskim formacie daty (") + kPolishShortDateFormat + ")";
}

std::string DescribeRejection(const TValidation& v, const TTestFile& file,
                              const IRegionalSettings& regional) {
    const std::string where =
        "wiersz " + std::to_string(v.line + 1) + " (" + LineName(v.line) + "): ";
    const std::string text = file.Line(static_cast<std::size_t>(v.line));
    switch (v.failed) {
    case TTestCheck::NameQuoted:
        return where + "nazwa musi być niepusta i ujęta w znaki \" na początku i na końcu, jest " +
               Quoted(text);
    case TTestCheck::DateConverts:
        return where + Quoted(text) + " nie jest datą ani " +
               SystemDateFormatName(regional.ShortDateFormat()) + ", ani " + PolishDateFormatName();
    case TTestCheck::QuestionCountInteger:
    case TTestCheck::MaxPointsInteger:
    case TTestCheck::SelfAnswerCountInteger:
        return where + Quoted(text) + " nie jest liczbą całkowitą";
    case TTestCheck::LineCount: {
        const long long n = *TryStrToInt(text);
        return "plik ma " + std::to_string(file.LineCount()) + " wierszy, a test o " +
               std::to_string(n) + " pytaniach potrzebuje co najmniej 9 · " + std::to_string(n) +
               " + 7 = " + std::to_string(9 * n + 7);
    }
    case TTestCheck::None:
        break;
    }
    return {};
}

// What passes the loader but stops an exam or shows wrong numbers.
std::vector<std::string> ExamNotes(const TTestFile& file) {
    std::vector<std::string> notes;
    const int n = *TryStrToInt(file.Line(4));
    long long sum = 0;
    int selfAnswers = 0;
    for (int k = 1; k <= n; ++k) {
        const TQuestion q = file.Question(k);
        const std::string at = "pytanie " + std::to_string(k) + ", wiersz ";
        const std::string letter = q.correctLetter;
        if (letter.size() != 1 || letter[0] < 'a' || letter[0] > 'e')
            notes.push_back(at + std::to_string(QuestionLine(k, 6) + 1) + ": poprawna odpowiedź " +
                            Quoted(letter) + " nie jest jedną z liter a, b, c, d, e");
        if (const auto points = TryStrToInt(q.points))
            sum += *points;
        else
            notes.push_back(at + std::to_string(QuestionLine(k, 7) + 1) + ": punkty " +
                            Quoted(q.points) + " nie są liczbą całkowitą");
        const TSelfAnswer self = ParseSelfAnswerLine(q.selfAnswerLine);
        if (self.hasSelfAnswer) {
            ++selfAnswers;
            if (!TryStrToInt(self.selfAnswerExtra))
                notes.push_back(at + std::to_string(QuestionLine(k, 8) + 1) +
                                ": dodatkowe punkty " + Quoted(self.selfAnswerExtra) +
                                " nie są liczbą całkowitą");
        }
    }
    if (sum != *TryStrToInt(file.Line(5)))
        notes.push_back("wiersz 6: maksymalna liczba punktów " + file.Line(5) +
                        " różni się od sumy punktów pytań (" + std::to_string(sum) + ")");
    if (selfAnswers != *TryStrToInt(file.Line(6)))
        notes.push_back("wiersz 7: liczba odpowiedzi samodzielnych " + file.Line(6) +
                        " różni się od liczby pytań z odpowiedzią samodzielną (" +
                        std::to_string(selfAnswers) + ")");
    return notes;
}

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

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (!out)
        throw ETs2ToolError("nie można utworzyć pliku " + path);
    out << bytes;
    out.flush();
    if (!out)
        throw ETs2ToolError("błąd zapisu pliku " + path);
}

constexpr const char* kUsage =
    "Użycie:\n"
    "  kwizmar-ts2 pack ŹRÓDŁO.txt TEST.ts2     zamienia tekst UTF-8 na plik testowy\n"
    "  kwizmar-ts2 unpack TEST.ts2 [ŹRÓDŁO.txt] odtwarza tekst testu (bez drugiej nazwy: na "
    "wyjście)\n"
    "  kwizmar-ts2 check TEST.ts2               sprawdza, czy program przyjmie plik\n";

} // namespace

std::string PackTestSource(std::string_view source) {
    if (source.substr(0, 3) == "\xEF\xBB\xBF")
        source.remove_prefix(3);
    bool finalBreak = false;
    const std::vector<std::string_view> lines = SplitSourceLines(source, finalBreak);
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        CheckSourceLine(lines[i], i + 1);
        const std::string encoded = Utf8ToCp1250(lines[i]);
        if (encoded.size() > kMaxLineBytes)
            throw ETs2ToolError(
                "wiersz " + std::to_string(i + 1) + ": ma " + std::to_string(encoded.size()) +
                " znaków, a program czyta tylko pierwsze " + std::to_string(kMaxLineBytes));
        text += encoded;
        if (i + 1 < lines.size() || finalBreak)
            text += "\r\n";
    }
    return ScrambleTest(text);
}

std::string UnpackTestFile(std::string_view stored) {
    const std::string decoded = Cp1250ToUtf8(DescrambleTest(NormaliseStoredText(stored)));
    std::string text;
    text.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == '\r' && i + 1 < decoded.size() && decoded[i + 1] == '\n')
            continue;
        text += decoded[i];
    }
    return text;
}

TCheckReport CheckTestFile(const std::string& path, std::string_view stored,
                           const IRegionalSettings& regional) {
    TCheckReport report;
    if (!HasTestFileExtension(path)) {
        report.rejection = "rozszerzenie nazwy pliku musi być dokładnie .ts2 albo .TS2";
        return report;
    }
    const TTestFile file = TTestFile::FromStoredBytes(stored);
    const TValidation validation = ValidateTestDetailed(file, regional);
    if (!validation.ok()) {
        report.rejection = DescribeRejection(validation, file, regional);
        return report;
    }
    const TCreationDate created = *ParseCreationDate(file.Line(3), regional);
    report.dateFormat =
        "data utworzenia: " + Quoted(file.Line(3)) + " " +
        (created.formatUsed == TDateFormatUsed::Polish ? PolishDateFormatName()
                                                       : SystemDateFormatName(created.format));
    report.notes = ExamNotes(file);
    report.summary = "test " + file.Line(1) + ": " + file.Line(4) + " pytań, " + file.Line(5) +
                     " pkt, odpowiedzi samodzielnych: " + file.Line(6);
    return report;
}

int RunTs2Tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const IRegionalSettings& regional) {
    const std::string command = args.empty() ? std::string() : args[0];
    const bool validArgs = (command == "pack" && args.size() == 3) ||
                           (command == "unpack" && (args.size() == 2 || args.size() == 3)) ||
                           (command == "check" && args.size() == 2);
    if (!validArgs) {
        if (command == "-h" || command == "--help") {
            out << kUsage;
            return 0;
        }
        err << "kwizmar-ts2: błędne argumenty\n" << kUsage;
        return 2;
    }
    try {
        if (command == "pack") {
            std::string packed;
            try {
                packed = PackTestSource(ReadSource(args[1]));
            } catch (const ETs2ToolError& e) {
                throw ETs2ToolError(args[1] + ": " + e.what());
            }
            WriteWholeFile(args[2], packed);
        } else if (command == "unpack") {
            const std::string text = UnpackTestFile(ReadSource(args[1]));
            if (args.size() == 3)
                WriteWholeFile(args[2], text);
            else
                out << text;
        } else {
            const TCheckReport report = CheckTestFile(args[1], ReadSource(args[1]), regional);
            if (!report.rejection.empty()) {
                err << args[1] << ": program odrzuci ten plik: " << report.rejection << "\n";
                return 1;
            }
            out << args[1] << ": " << report.summary << "\n" << report.dateFormat << "\n";
            for (const std::string& note : report.notes)
                out << "uwaga: " << note << "\n";
        }
    } catch (const ETs2ToolError& e) {
        err << "kwizmar-ts2: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace kwizmar
