// The answers' records and the analysis of the questions made of them.
#include "FuzzEntries.h"

#include "AnswerRecord.h"
#include "LineScan.h"
#include "QuestionAnalysisTable.h"
#include "ResultsLogFormat.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace kwizmar::fuzz {

namespace {

// The log the records are read against where the input brings none: three
// exams of one test and a line written by hand.
constexpr std::string_view kLog =
    "1. U\xBFytkownik Ala przyst\xB9pi\xB3 do egzaminu \"Historia\" o godzinie 10:01:00 dnia "
    "04.05.2026. Przewidywany czas egzaminu 10min. Liczba pyta\xF1 3. Maksymalna liczba "
    "punkt\xF3w 3. Egzamin trwa\xB3 3 minut i 5 sekund. Zdobyto 2pkt. (67%) a stracono 1pkt. "
    "Otrzymana ocena to: dostateczny.\r\n"
    "2. U\xBFytkownik Ola przyst\xB9pi\xB3 do egzaminu \"Historia\" o godzinie 10:02:00 dnia "
    "05.05.2026. Przewidywany czas egzaminu 10min. Liczba pyta\xF1 3. Maksymalna liczba "
    "punkt\xF3w 3. Egzamin trwa\xB3 3 minut i 5 sekund. Zdobyto 3pkt. (100%) a stracono 0pkt. "
    "Otrzymana ocena to: celuj\xB9" "cy.\r\n"
    "3. U\xBFytkownik Ela przyst\xB9pi\xB3 do egzaminu \"Historia\" o godzinie 10:03:00 dnia "
    "05.05.2026. Przewidywany czas egzaminu 10min. Liczba pyta\xF1 3. Maksymalna liczba "
    "punkt\xF3w 0. Egzamin trwa\xB3 3 minut i 5 sekund. Zdobyto 0pkt. (\x97%) a stracono 0pkt. "
    "Otrzymana ocena to: brak oceny.\r\n"
    "4. U\xBFytkownik Jan wpisany r\xEA" "cznie\r\n";

// More rows than this are not written out as CSV: a record may name a
// hundred thousand questions, and each run must stay quick.
constexpr std::size_t kWrittenRows = 5000;

void CheckTable(const TTestAnalysis& t) {
    Require(t.hash || (t.exams == 0 && t.rows.empty()), "a table without records has no rows");
    Require(!t.hash || t.exams == t.lines.size(), "a table's exams are its lines");
    Require(std::is_sorted(t.lines.begin(), t.lines.end()), "a table's lines keep the log's order");
    Require(t.rows.size() <= std::size_t(kMaxAnalysedQuestions), "no more rows than a test has");
    for (std::size_t q = 0; q < t.rows.size(); ++q) {
        const TQuestionRow& row = t.rows[q];
        Require(row.question == int(q + 1), "the rows are the questions in order");
        Require(row.shown <= t.exams && row.answered <= row.shown && row.right <= row.answered,
                "right ≤ answered ≤ shown ≤ exams");
        std::size_t chosen = 0;
        for (std::size_t c : row.chosen)
            chosen += c;
        Require(chosen <= row.answered, "a picked letter is an answer");
        Require(row.typedRight <= row.typedTried && row.typedTried <= row.answered,
                "a typed answer right is one tried, and an answer");
        Require(row.facility.has_value() == (row.answered > 0), "facility where answered");
        Require(!row.facility || (*row.facility >= 0 && *row.facility <= 100),
                "facility is a percentage");
        Require(!row.discrimination || std::fabs(*row.discrimination) <= 1,
                "discrimination is within -1 … 1");
        Require(!row.discrimination || t.exams >= 2, "discrimination needs two exams");
        Require(row.tooEasy + row.tooHard < 2, "a question is not too easy and too hard");
    }
    const double k = double(t.rows.size());
    Require(!t.kr20 ||
                (std::isfinite(*t.kr20) && t.exams >= 2 && k >= 2 && *t.kr20 <= k / (k - 1) + 1e-9),
            "KR-20 is at most k/(k-1), with two exams and two questions");
    Require(!t.deviationPoints || *t.deviationPoints >= 0, "a deviation is not negative");
}

} // namespace

void AnswerRecordsEntry(std::string_view bytes) {
    // A log of the input's own before a 0x1E byte; the records after it.
    std::string_view log = kLog, records = bytes;
    if (const std::size_t split = bytes.find('\x1e'); split != std::string_view::npos) {
        log = bytes.substr(0, split);
        records = bytes.substr(split + 1);
    }

    // Every record reads back as written.
    std::size_t readable = 0;
    ForEachLine(records, [&](std::size_t offset, std::size_t size, TLineEnd) {
        const auto record = ParseAnswerRecord(records.substr(offset, size));
        if (!record)
            return;
        ++readable;
        const std::string written = FormatAnswerRecord(*record);
        Require(ParseAnswerRecord(written) == record, "a record reads back as written");
        Require(written.find_first_of("\r\n") == std::string::npos, "a record is one line");
        Require(written.starts_with(RecordLinePrefix(record->line, record->lineStart)),
                "a record names its own line");
    });

    std::vector<TResultLine> lines;
    for (const std::string& line : ParseLog(log))
        lines.push_back(ParseResultLine(line));
    const TExportTable table;
    const TQuestionAnalysis a = AnalyseQuestions(lines, records, table);
    std::size_t exams = 0, rows = 0;
    std::set<std::string> titles;
    for (const TTestAnalysis& t : a.tests) {
        CheckTable(t);
        exams += t.exams;
        rows += t.rows.size();
        Require(titles.insert(TableTitle(t)).second || !t.hash,
                "each version of a test has a title of its own");
    }
    Require(exams + a.withoutRecord == lines.size(), "every line is an exam with a record or not");
    Require(exams <= readable, "an exam's record is a readable record");

    // The same lines give the same analysis; one test's lines give its tables.
    if (rows <= kWrittenRows) {
        const std::string csv = AnalysisCsv(a);
        Require(csv == AnalysisCsv(AnalyseQuestions(lines, records, table)),
                "the analysis is the same each time");
        Require(csv.starts_with("\xEF\xBB\xBF"), "the CSV has its byte-order mark");
    }
    if (!a.tests.empty()) {
        TExportFilter one;
        one.test = a.tests.front().name;
        for (const TTestAnalysis& t : AnalyseQuestions(lines, records, table, one).tests)
            for (std::size_t line : t.lines)
                Require(table.Matches(lines[line], one), "only the chosen lines are analysed");
    }
}

} // namespace kwizmar::fuzz
