#include "TestDocument.h"

#include "Cp1250.h"
#include "StrToInt.h"
#include "TestCheck.h"
#include "TestLoader.h"
#include "TestSource.h"

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

TTestDocument ReadDocument(std::string_view path, std::string_view bytes,
                           const IRegionalSettings& regional) {
    std::string stored;
    if (IsTextSourcePath(path)) {
        try {
            stored = PackTestSource(bytes);
        } catch (const ETestSourceError& e) {
            throw EDocumentError(e.what());
        }
    } else {
        stored = std::string(bytes);
    }
    const TTestFile file = TTestFile::FromStoredBytes(stored);
    const TValidation validation = ValidateTestDetailed(file, regional);
    if (!validation.ok())
        throw EDocumentError("program Kwizmar odrzuciłby ten test: " +
                             DescribeRejection(validation, file, regional));
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
