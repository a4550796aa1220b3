#include "GiftExport.h"

#include "QuestionImport.h"

#include <string_view>

namespace kwizmar {

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view("~=#{}:\\").find(c) != std::string_view::npos)
            out += '\\';
        out += c;
    }
    return out;
}

// An answer: a "%" at its start would be read as a weight ("%50%").
std::string EscapedAnswer(std::string_view text) {
    std::string out = Escaped(text);
    const std::size_t first = out.find_first_not_of(" \t");
    if (first != std::string::npos && out[first] == '%')
        out.insert(first, 1, '\\');
    return out;
}

} // namespace

std::string GiftText(const TTestDocument& doc) {
    std::string out = "// Test " + doc.nameLine + " z edytora testów Kwizmar 2002\n";
    for (std::size_t k = 0; k < doc.questions.size(); ++k) {
        const TQuestion& q = doc.questions[k];
        const TSelfAnswer self = ParseSelfAnswerLine(q.selfAnswerLine);
        out += '\n';
        if (q.points != "1" || self.hasSelfAnswer) {
            std::string comment;
            if (q.points != "1")
                comment = "punkty " + q.points;
            if (self.hasSelfAnswer)
                comment += (comment.empty() ? "" : ", ") + std::string("samodzielna") +
                           (self.selfAnswerExtra.empty() ? "" : " " + self.selfAnswerExtra);
            out += "// Kwizmar: " + comment + '\n';
        }
        out += "::P" + std::to_string(k + 1) + "::";
        // A text that opens with a format mark would lose it to the reader.
        for (std::string_view mark : kGiftFormatMarks)
            if (q.text.starts_with(mark)) {
                out += "[plain]";
                break;
            }
        out += Escaped(q.text) + " {";
        const int correct = AnswerIndex(q.correctLetter);
        const char* gap = "";
        for (std::size_t a = 0; a < q.answers.size(); ++a)
            if (!q.answers[a].empty()) {
                out += gap;
                out += static_cast<int>(a) == correct ? '=' : '~';
                out += EscapedAnswer(q.answers[a]);
                gap = " ";
            }
        out += "}\n";
    }
    return out;
}

} // namespace kwizmar
