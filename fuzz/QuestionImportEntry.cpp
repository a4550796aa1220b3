// The editor's readers of other quiz programs' files, Aiken and GIFT, and of
// another test to merge.
#include "FuzzEntries.h"

#include "DocumentChecks.h"
#include "GiftExport.h"
#include "QuestionImport.h"
#include "TestFile.h"

#include <algorithm>

namespace kwizmar::fuzz {

namespace {

// Lines as the readers count them: LF, CR LF and CR each end one.
int LineCount(std::string_view bytes) {
    int lines = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++lines;
    return lines;
}

// What every reader promises of what it gives: questions the editor's checks
// allow the shape of, refusals at lines of the file, the converted questions
// at lines of the file, in order, no more of them than questions.
void RequireWellFormed(const TImportedQuestions& imported, int lines) {
    for (const TImportRefusal& refusal : imported.refusals) {
        Require(refusal.line >= 1 && refusal.line <= lines, "a refusal names a line of the file");
        Require(!refusal.reason.empty(), "a refusal gives its reason");
    }
    for (const TQuestion& q : imported.questions) {
        Require(!q.text.empty(), "a question has its text");
        std::size_t given = 0;
        while (given < q.answers.size() && !q.answers[given].empty())
            ++given;
        for (std::size_t a = given; a < q.answers.size(); ++a)
            Require(q.answers[a].empty(), "the answers given come first");
        Require(given >= static_cast<std::size_t>(FewestAnswers()),
                "a question has as many answers as a test allows");
        const int right = AnswerIndex(q.correctLetter);
        Require(right >= 0 && static_cast<std::size_t>(right) < given,
                "the correct letter names an answer given");
    }
    const std::vector<int>& converted = imported.convertedLines;
    Require(converted.size() <= imported.questions.size(),
            "only imported questions are listed as converted");
    for (std::size_t i = 0; i < converted.size(); ++i)
        Require(converted[i] >= 1 && converted[i] <= lines &&
                    (i == 0 || converted[i - 1] < converted[i]),
                "the converted questions are named by lines of the file, in order");
}

// The import that tells the formats apart: as well formed, its lines those
// of the file or, for a .ts2 file, of the test in it.
void RequireAnyFormatWellFormed(std::string_view bytes) {
    const int lines =
        std::max(LineCount(bytes), static_cast<int>(TTestFile::FromStoredBytes(bytes).LineCount()));
    RequireWellFormed(ImportQuestions(bytes), lines);
}

std::string Lines(const std::vector<TQuestion>& questions) {
    std::string all;
    for (const TQuestion& q : questions) {
        all += q.text + '\n';
        for (const std::string& answer : q.answers)
            all += answer + '\n';
        all += q.correctLetter + '\n' + q.points + '\n' + q.selfAnswerLine + '\n';
    }
    return all;
}

} // namespace

void AikenImportEntry(std::string_view bytes) {
    RequireWellFormed(ImportAiken(bytes), LineCount(bytes));
    RequireAnyFormatWellFormed(bytes);
}

void GiftImportEntry(std::string_view bytes) {
    const TImportedQuestions imported = ImportGift(bytes);
    RequireWellFormed(imported, LineCount(bytes));
    RequireAnyFormatWellFormed(bytes);
    TTestDocument doc;
    doc.nameLine = "\"Test\"";
    doc.questions = imported.questions;
    const TImportedQuestions again = ImportGift(GiftText(doc));
    Require(again.refusals.empty(), "the export of imported questions is read without a refusal");
    Require(Lines(again.questions) == Lines(imported.questions),
            "the export of imported questions reads back as the same questions");
}

} // namespace kwizmar::fuzz
