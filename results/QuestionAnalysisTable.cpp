#include "QuestionAnalysisTable.h"

#include "ExportCsv.h"

namespace kwizmar {

namespace {

TCell Text(std::string text) {
    TCell c;
    c.type = TCellType::Text;
    c.text = std::move(text);
    return c;
}

TCell Whole(std::size_t value) {
    TCell c;
    c.type = TCellType::Number;
    c.number = std::int64_t(value);
    return c;
}

TCell Real(const std::optional<double>& value, int places) {
    TCell c;
    if (!value)
        return c;
    c.type = TCellType::Real;
    c.real = *value;
    c.number = places;
    return c;
}

} // namespace

const std::vector<std::string>& QuestionHeader() {
    static const std::vector<std::string> header = {
        "Test",  "Pytanie", "Treść", "Odpowiedzi", "Klucz", "Łatwość %", "Moc różnicująca",
        "A",     "B",       "C",     "D",          "E",     "Wpisane",   "Wpisane dobrze",
        "Uwagi",
    };
    return header;
}

std::vector<TCell> QuestionCells(const TTestAnalysis& test, const TQuestionRow& row) {
    std::vector<TCell> cells{Text(TableTitle(test)),
                             Whole(std::size_t(row.question)),
                             Text(row.start),
                             Whole(row.answered),
                             row.key ? Text(std::string(1, row.key)) : TCell{},
                             Real(row.facility, 1),
                             Real(row.discrimination, 2)};
    for (std::size_t chosen : row.chosen)
        cells.push_back(Whole(chosen));
    cells.push_back(Whole(row.typedTried));
    cells.push_back(Whole(row.typedRight));
    const std::string notes = RowNotes(row);
    cells.push_back(notes.empty() ? TCell{} : Text(notes));
    return cells;
}

std::vector<TSheetRow> AnalysisSheet(const TQuestionAnalysis& analysis) {
    using TKind = TSheetRow::TKind;
    std::vector<TSheetRow> rows;
    for (const TTestAnalysis& test : analysis.tests) {
        if (!rows.empty())
            rows.push_back({TKind::Gap, {}});
        rows.push_back({TKind::Title, {Text("Analiza pytań: " + TableTitle(test))}});
        if (test.exams > 0)
            for (const TFigure& figure : TestFigures(test))
                rows.push_back(
                    {TKind::Figure, {Text(figure.label), Real(figure.value, figure.places)}});
        if (test.withoutRecord > 0) {
            std::string note = MissingDataNote(test.withoutRecord);
            note[0] = 'B';
            rows.push_back({TKind::Note, {Text(note)}});
        }
        if (test.rows.empty())
            continue;
        TSheetRow header{TKind::Header, {}};
        for (const std::string& title : QuestionHeader())
            header.cells.push_back(Text(title));
        rows.push_back(std::move(header));
        for (const TQuestionRow& row : test.rows)
            rows.push_back({TKind::Question, QuestionCells(test, row)});
    }
    return rows;
}

std::string AnalysisCsv(const TQuestionAnalysis& analysis) {
    std::string out = "\xEF\xBB\xBF";
    for (const TSheetRow& row : AnalysisSheet(analysis))
        AppendCsvRow(out, row.cells);
    return out;
}

} // namespace kwizmar
