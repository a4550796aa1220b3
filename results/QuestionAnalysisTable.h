#pragma once

#include "QuestionAnalysis.h"

#include <string>
#include <vector>

// The analysis of the questions as a spreadsheet: per test a title, its
// figures, the note on exams without records, then its table of questions
// under a header row, and an empty row before the next test. The CSV and the
// XLSX writers write the same rows.

namespace kwizmar {

// The question table's header, in Polish: Test, Pytanie, Treść, Odpowiedzi,
// Klucz, Łatwość %, Moc różnicująca, A … E, Wpisane, Wpisane dobrze, Uwagi.
const std::vector<std::string>& QuestionHeader();

// One question's cells under QuestionHeader(); facility with one decimal
// place, discrimination with two, an undefined figure empty.
std::vector<TCell> QuestionCells(const TTestAnalysis& test, const TQuestionRow& row);

struct TSheetRow {
    enum class TKind { Title, Figure, Note, Header, Question, Gap };
    TKind kind = TKind::Gap;
    std::vector<TCell> cells;
};

// Every row of the sheet, test after test.
std::vector<TSheetRow> AnalysisSheet(const TQuestionAnalysis& analysis);

// The rows as a CSV text like ExportCsv's: UTF-8 with a byte-order mark, ";"
// between fields, CR LF, real numbers with a decimal comma.
std::string AnalysisCsv(const TQuestionAnalysis& analysis);

} // namespace kwizmar
