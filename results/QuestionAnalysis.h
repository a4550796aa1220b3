#pragma once

#include "ExportTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How each question of a test did: from the lines of the results log and the
// answers' records beside it (core/AnswerRecord.h), one table per test, its
// rows the test file's questions.
//
// A record belongs to a log line when it names the line's number and the
// start of its text (LineStartText) as FormatAnswerRecord writes them; the
// first record of the file that names a line and reads whole is the line's,
// the others naming it are left out, as are records naming no line chosen.
// A line without a record is an exam from before the records were kept (or
// whose record is lost): it is counted, never analysed.

namespace kwizmar {

// The most questions a record may name: more than any test holds. A record
// naming more counts as unreadable.
inline constexpr int kMaxAnalysedQuestions = 100000;

struct TQuestionRow {
    int question = 0;         // its number in the test file, from 1
    std::string start;        // the start of its text, from the first record that has it
    char key = 0;             // the right letter; 0 where no record names one
    std::size_t shown = 0;    // exams that showed it
    std::size_t answered = 0; // exams that answered it (a letter or a typed answer)
    std::size_t right = 0;
    std::array<std::size_t, 5> chosen{}; // how many picked A … E
    std::size_t typedTried = 0, typedRight = 0;
    // Facility: right ÷ answered, in percent; nothing while nobody answered.
    std::optional<double> facility;
    // Discrimination: the share right in the best group of exams less the
    // share right in the weakest, -1 … 1; nothing for fewer than 2 exams or a
    // question no exam showed.
    std::optional<double> discrimination;
    bool tooEasy = false;  // facility over 90 %
    bool tooHard = false;  // facility under 20 %
    bool checkKey = false; // negative discrimination, or the best group picked a
                           // wrong letter more often than the key
};

// The notes of a row in Polish, joined: "za łatwe", "za trudne", "sprawdź
// klucz"; empty where none applies.
std::string RowNotes(const TQuestionRow& row);

struct TTestAnalysis {
    std::string name; // the test's name as its records give it
    // The test's ContentHash; nothing for a test whose chosen exams have no
    // records at all (its table has no rows, only the count below).
    std::optional<std::uint64_t> hash;
    // Where a name has more than one version (hash): which one this is, by
    // the days of its exams ("wersja z dni 04.05.2026 – 06.05.2026"), and by
    // its place among them where the days can't tell ("wersja 2 z dnia
    // 06.05.2026"); else "".
    std::string version;
    std::size_t exams = 0; // exams with a record
    // Chosen exams of this name (by their log lines) that have no record;
    // every version of the name counts them.
    std::size_t withoutRecord = 0;
    // Over the exams with a record: the points gained as the log line gives
    // them (the record's sum where the line can't be read), and the exact
    // share of the line's maximum (its own whole percentage where the maximum
    // is no number); population standard deviation.
    std::optional<double> meanPoints, deviationPoints, meanPercent, deviationPercent;
    // Kuder–Richardson 20 over the questions scored right = 1, else 0;
    // nothing for fewer than 2 exams or questions, or when every exam got as
    // many right.
    std::optional<double> kr20;
    std::vector<TQuestionRow> rows; // questions 1 … the records' number of questions
    // Indexes of the exams' log lines, ascending; of a test without records,
    // those of its exams.
    std::vector<std::size_t> lines;
};

struct TQuestionAnalysis {
    // In the order of each table's first exam.
    std::vector<TTestAnalysis> tests;
    // Chosen log lines without a record, of every test and of none.
    std::size_t withoutRecord = 0;
};

// The analysis of the log lines the filter lets through, with the records
// file's bytes (UTF-8, lines that don't read as records skipped).
//
// The best and the weakest group are each round(27 % of the exams), at least
// one, of the exams ranked by the points their record gained (the sum of its
// entries' `gained`); exams of equal points keep the order of their log
// lines, so that an earlier line ranks higher. A question an exam did not
// show, or did not answer, counts as not right there.
TQuestionAnalysis AnalyseQuestions(const std::vector<TResultLine>& lines, std::string_view records,
                                   const TExportTable& table, const TExportFilter& filter = {});

// The records file beside a results log.
std::filesystem::path AnswerRecordsPath(const std::filesystem::path& logPath);

// "brak danych o pytaniach dla 1 egzaminu", "… dla 5 egzaminów".
std::string MissingDataNote(std::size_t exams);

// The name, with its version where it has one: "Historia (wersja z dnia
// 04.05.2026)".
std::string TableTitle(const TTestAnalysis& test);

// The test's figures, each a label and a value (nothing where the figure is
// undefined): exams, mean and deviation of the points and of the percentage,
// KR-20.
struct TFigure {
    std::string label;
    std::optional<double> value;
    int places = 0;
};
std::vector<TFigure> TestFigures(const TTestAnalysis& test);

} // namespace kwizmar
