#include "TestDocument.h"

#include "Cp1250.h"
#include "StrToInt.h"
#include "TestCheck.h"
#include "TestLoader.h"
#include "TestSource.h"

#include <algorithm>

namespace kwizmar {

namespace {

// A number line as read while it still holds `value`, else the value.
std::string NumberLine(const std::string& read, long long value) {
    const auto readValue = TryStrToInt(read);
    return readValue && *readValue == value ? read : std::to_string(value);
}

} // namespace

std::string NameOfLine(std::string_view line) {
    if (!line.empty() && line.front() == '"')
        line.remove_prefix(1);
    if (!line.empty() && line.back() == '"')
        line.remove_suffix(1);
    return std::string(line);
}

std::string LineOfName(std::string_view name) {
    std::string line;
    line.reserve(name.size() + 2);
    line += '"';
    line += name;
    line += '"';
    return line;
}

TQuestion NewQuestion() {
    return TQuestion{
        .text = {}, .answers = {}, .correctLetter = "a", .points = "1", .selfAnswerLine = "NIE"};
}

TTestDocument NewTestDocument(const TDate& today) {
    TTestDocument doc;
    doc.nameLine = LineOfName("");
    doc.createdDate = FormatDate(today, kPolishShortDateFormat);
    doc.questions.push_back(NewQuestion());
    return doc;
}

int SelfAnswerQuestionCount(const TTestDocument& doc) {
    int count = 0;
    for (const TQuestion& q : doc.questions)
        count += ParseSelfAnswerLine(q.selfAnswerLine).hasSelfAnswer ? 1 : 0;
    return count;
}

std::optional<long long> PointsSum(const TTestDocument& doc) {
    long long sum = 0;
    for (const TQuestion& q : doc.questions) {
        const auto points = TryStrToInt(q.points);
        if (!points)
            return std::nullopt;
        sum += *points;
    }
    return sum;
}

std::string MaxPointsLine(const TTestDocument& doc) {
    if (doc.maxPointsByHand)
        return *doc.maxPointsByHand;
    return NumberLine(doc.maxPointsRead, PointsSum(doc).value_or(0));
}

std::vector<std::string> DocumentLines(const TTestDocument& doc) {
    std::vector<std::string> lines = {
        doc.description,
        doc.nameLine,
        doc.author,
        doc.createdDate,
        NumberLine(doc.questionCountRead, static_cast<long long>(doc.questions.size())),
        MaxPointsLine(doc),
        NumberLine(doc.selfAnswerCountRead, SelfAnswerQuestionCount(doc)),
    };
    lines.reserve(lines.size() + 9 * doc.questions.size() + doc.linesAfter.size());
    for (const TQuestion& q : doc.questions) {
        lines.push_back(q.text);
        lines.insert(lines.end(), q.answers.begin(), q.answers.end());
        lines.push_back(q.correctLetter);
        lines.push_back(q.points);
        lines.push_back(q.selfAnswerLine);
    }
    lines.insert(lines.end(), doc.linesAfter.begin(), doc.linesAfter.end());
    return lines;
}

TTestDocument DocumentFromFile(const TTestFile& file) {
    const TTestHeader header = file.Header();
    TTestDocument doc;
    doc.description = header.description;
    doc.nameLine = header.name;
    doc.author = header.author;
    doc.createdDate = header.createdDate;
    doc.questionCountRead = header.questionCount;
    doc.maxPointsRead = header.maxPoints;
    doc.selfAnswerCountRead = header.selfAnswerCount;
    const int n = TryStrToInt(header.questionCount).value_or(0);
    for (int k = 1; k <= n; ++k)
        doc.questions.push_back(file.Question(k));
    for (std::size_t i = static_cast<std::size_t>(QuestionLine(n + 1, 0)); i < file.LineCount();
         ++i)
        doc.linesAfter.push_back(file.Line(i));
    const auto sum = PointsSum(doc);
    if (!sum || !TryStrToInt(header.maxPoints) || *TryStrToInt(header.maxPoints) != *sum)
        doc.maxPointsByHand = header.maxPoints;
    return doc;
}

bool IsTextSourcePath(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() < 4)
        return true;
    std::string extension(name.substr(name.size() - 4));
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension != ".ts2";
}

namespace {

// The lines of a text source: an optional byte-order mark, any of LF, CR LF
// or CR line ends, a final line break or none.
std::vector<std::string> SourceLines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

// A draft as it stands: the questions its lines hold, the last one perhaps
// unfinished, whatever the checks will say of them.
TTestDocument DraftDocument(std::vector<std::string> lines) {
    const long long available =
        lines.size() > 7 ? (static_cast<long long>(lines.size()) - 7 + 8) / 9 : 0;
    const auto counted = TryStrToInt(lines.size() > 4 ? lines[4] : std::string());
    const long long n = counted && *counted >= 0 && *counted <= available ? *counted : available;
    lines.resize(std::max(lines.size(), static_cast<std::size_t>(7 + 9 * n)));
    std::string count = std::to_string(n);
    if (!counted || *counted != n)
        lines[4].swap(count);
    for (const std::size_t number : {5u, 6u})
        if (!TryStrToInt(lines[number]))
            lines[number].assign(1, '0');
    TTestDocument doc = DocumentFromFile(TTestFile(lines));
    // While the points don't sum, the maximum is written as 0 (MaxPointsLine):
    // it follows the sum again once they do.
    if (!PointsSum(doc) && doc.maxPointsByHand == "0")
        doc.maxPointsByHand.reset();
    return doc;
}

// Bytes no test, written or scrambled, can start with: a picture, a program,
// a document of an office suite.
bool LooksBinary(std::string_view bytes) {
    const std::string_view start = bytes.substr(0, 512);
    return start.find('\0') != std::string_view::npos;
}

} // namespace

TTestDocument ReadDocument(std::string_view path, std::string_view bytes,
                           const IRegionalSettings& regional) {
    if (bytes.empty())
        throw EDocumentError("to pusty plik, nie ma w nim testu");
    if (IsTextSourcePath(path)) {
        std::vector<std::string> lines = SourceLines(bytes);
        const std::string name = lines.size() > 1 ? lines[1] : std::string();
        if (LooksBinary(bytes) || name.empty() || name.front() != '"' || name.back() != '"')
            throw EDocumentError("to nie jest test ani jego szkic: w drugim wierszu tekstu "
                                 "źródłowego stoi nazwa testu w cudzysłowie");
        return DraftDocument(std::move(lines));
    }
    const TTestFile file = TTestFile::FromStoredBytes(bytes);
    const TValidation validation = ValidateTestDetailed(file, regional);
    if (!validation.ok()) {
        // A test has its header whole and readable, the name line wrong or not.
        if (LooksBinary(bytes) || (validation.failed == TTestCheck::NameQuoted &&
                                   (file.LineCount() < 7 || LineProblem(file.Line(0)).has_value())))
            throw EDocumentError("to nie jest test programu Kwizmar (plik zawiera coś innego, "
                                 "np. obraz, zwykły tekst albo dokument)");
        throw EDocumentError("program Kwizmar odrzuciłby ten test: " +
                             DescribeRejection(validation, file, regional));
    }
    return DocumentFromFile(file);
}

std::string StoredBytes(const TTestDocument& doc) {
    std::string text;
    for (const std::string& line : DocumentLines(doc)) {
        text += Utf8ToCp1250(line);
        text += "\r\n";
    }
    return ScrambleTest(text);
}

std::string TextSourceBytes(const TTestDocument& doc) {
    std::string text;
    for (const std::string& line : DocumentLines(doc)) {
        text += line;
        text += '\n';
    }
    return text;
}

} // namespace kwizmar
