#include "TestSource.h"

#include "Cp1250.h"
#include "TestFile.h"
#include "Text.h"

#include <cstdio>
#include <vector>

namespace kwizmar {

namespace {

std::string CodePointName(char32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

} // namespace

std::optional<TLineProblem> LineProblem(std::string_view line) {
    std::size_t pos = 0;
    std::size_t column = 1;
    while (pos < line.size()) {
        const std::size_t start = pos;
        char32_t cp;
        if (!NextCodePoint(line, pos, cp))
            return TLineProblem{column, "nieprawidłowy zapis UTF-8"};
        if ((cp < 0x20 && cp != '\t') || cp == 0x7F)
            return TLineProblem{column, "znak sterujący " + CodePointName(cp) +
                                            " nie może wystąpić w pliku testowym"};
        if (!InCp1250(cp))
            return TLineProblem{column, "znaku „" + std::string(line.substr(start, pos - start)) +
                                            "” (" + CodePointName(cp) +
                                            ") nie ma w stronie kodowej Windows-1250"};
        ++column;
    }
    // Every character is one byte in Windows-1250.
    if (column - 1 > kMaxLineBytes)
        return TLineProblem{0, "ma " + std::to_string(column - 1) +
                                   " znaków, a program czyta tylko pierwsze " +
                                   std::to_string(kMaxLineBytes)};
    return std::nullopt;
}

std::string PackTestSource(std::string_view source) {
    if (source.substr(0, 3) == "\xEF\xBB\xBF")
        source.remove_prefix(3);
    bool finalBreak = false;
    const std::vector<std::string_view> lines = SplitLines(source, &finalBreak);
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto problem = LineProblem(lines[i])) {
            const std::string where =
                "wiersz " + std::to_string(i + 1) +
                (problem->column ? ", znak " + std::to_string(problem->column) : std::string());
            throw ETestSourceError(where + ": " + problem->text);
        }
        text += Utf8ToCp1250(lines[i]);
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

} // namespace kwizmar
