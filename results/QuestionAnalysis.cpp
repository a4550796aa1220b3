#include "QuestionAnalysis.h"

#include "AnswerRecord.h"
#include "LineScan.h"
#include "StrToInt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace kwizmar {

namespace {

constexpr std::int64_t kMaxTotal = std::numeric_limits<std::int64_t>::max();

// Hashes std::string and std::string_view alike, so that a record's start is
// looked up without a copy.
struct TTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>()(text);
    }
};

// The start of a record line up to its third TAB (format, line number, line
// start), as FormatAnswerRecord writes it for the log line `raw`; nothing for
// a line that has no number.
std::optional<std::string> RecordPrefix(const std::string& raw) {
    const std::size_t dot = raw.find(". ");
    if (dot == std::string::npos || dot == 0)
        return std::nullopt;
    int number = 0;
    const char* end = raw.data() + dot;
    const auto [ptr, ec] = std::from_chars(raw.data(), end, number);
    if (ec != std::errc() || ptr != end || number < 0 ||
        std::to_string(number) != raw.substr(0, dot))
        return std::nullopt;
    TAnswerRecord named;
    named.line = number;
    named.lineStart = LineStartText(std::string_view(raw).substr(dot + 2));
    std::string text = FormatAnswerRecord(named);
    std::size_t at = 0;
    for (int tab = 0; tab < 3; ++tab)
        at = text.find('\t', at) + 1;
    text.resize(at);
    return text;
}

std::string_view PrefixOf(std::string_view recordLine) {
    std::size_t at = 0;
    for (int tab = 0; tab < 3; ++tab) {
        at = recordLine.find('\t', at);
        if (at == std::string_view::npos)
            return {};
        ++at;
    }
    return recordLine.substr(0, at);
}

// What the analysis keeps of a record: its entries without their texts
// (a question's text is kept once per test, in TStarts).
struct TEntry {
    int question = 0;
    char key = 0, chosen = 0;
    bool typedTried = false, typedRight = false;
    bool Answered() const { return chosen != 0 || typedTried; }
    bool Right() const { return typedRight || (chosen != 0 && chosen == key); }
};

struct TRecord {
    std::string testName;
    std::uint64_t testHash = 0;
    int questionCount = 0;
    std::vector<TEntry> entries;
    std::int64_t total = 0; // the points gained, held at kMaxTotal
};

// The start of each question's text per test (name and hash), from the first
// record of the file that has it.
using TStarts = std::map<std::pair<std::string, std::uint64_t>, std::vector<std::string>>;

// The test's name as the log's lines give it (TestTitle): the program
// records the name line of the test, its double quotes included.
std::string Unquoted(std::string name) {
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        return name.substr(1, name.size() - 2);
    return name;
}

TRecord Kept(TAnswerRecord&& r, TStarts& starts) {
    TRecord kept{Unquoted(std::move(r.testName)), r.testHash, r.questionCount, {}, 0};
    kept.entries.reserve(r.entries.size());
    std::vector<std::string>* texts = nullptr;
    for (TAnswerEntry& e : r.entries) {
        kept.entries.push_back({e.question, e.key, e.chosen, e.typedTried, e.typedRight});
        kept.total = e.gained > kMaxTotal - kept.total ? kMaxTotal : kept.total + e.gained;
        if (e.start.empty() || e.question < 1 || e.question > kept.questionCount)
            continue;
        if (!texts) {
            texts = &starts[{kept.testName, kept.testHash}];
            if (texts->size() < std::size_t(kept.questionCount))
                texts->resize(std::size_t(kept.questionCount));
        }
        std::string& text = (*texts)[std::size_t(e.question - 1)];
        if (text.empty())
            text = std::move(e.start);
    }
    return kept;
}

struct TExam {
    std::size_t line = 0;
    const TRecord* record = nullptr;
};

int CompareDates(const TDate& a, const TDate& b) {
    if (a.year != b.year)
        return a.year < b.year ? -1 : 1;
    if (a.month != b.month)
        return a.month < b.month ? -1 : 1;
    return a.day == b.day ? 0 : a.day < b.day ? -1 : 1;
}

// Mean and population standard deviation of the values.
void MeanAndDeviation(const std::vector<long double>& values, std::optional<double>& mean,
                      std::optional<double>& deviation) {
    if (values.empty())
        return;
    long double sum = 0;
    for (long double v : values)
        sum += v;
    const long double m = sum / static_cast<long double>(values.size());
    long double squares = 0;
    for (long double v : values)
        squares += (v - m) * (v - m);
    mean = double(m);
    deviation = double(std::sqrt(squares / static_cast<long double>(values.size())));
}

void Figures(TTestAnalysis& t, const std::vector<TExam>& exams,
             const std::vector<TResultLine>& lines) {
    std::vector<long double> points, percents;
    for (const TExam& exam : exams) {
        const auto& fields = lines[exam.line].fields;
        if (!fields) {
            points.push_back(static_cast<long double>(exam.record->total));
            continue;
        }
        const TExamResult& r = fields->result;
        points.push_back(static_cast<long double>(r.pointsGained));
        const std::optional<int> max = TryStrToInt(fields->maxPoints);
        if (max && *max > 0)
            percents.push_back(static_cast<long double>(r.pointsGained) * 100 / *max);
        else if (r.percentShown)
            percents.push_back(static_cast<long double>(*r.percentShown));
    }
    MeanAndDeviation(points, t.meanPoints, t.deviationPoints);
    MeanAndDeviation(percents, t.meanPercent, t.deviationPercent);
}

// The rows, the discrimination and KR-20 of one test's exams.
void Questions(TTestAnalysis& t, std::vector<TExam>& exams, const std::vector<std::string>& texts) {
    int count = 0;
    for (const TExam& exam : exams)
        count = std::max(count, exam.record->questionCount);
    t.rows.resize(std::size_t(count));
    for (int q = 0; q < count; ++q) {
        t.rows[std::size_t(q)].question = q + 1;
        if (std::size_t(q) < texts.size())
            t.rows[std::size_t(q)].start = texts[std::size_t(q)];
    }

    // Each exam's entries by question (the first entry of a question counts),
    // and how many it got right.
    const std::size_t n = exams.size();
    std::vector<std::size_t> seen(t.rows.size(), n);
    std::vector<long double> rightCounts(n);
    auto forEachEntry = [&](std::size_t e, auto&& action) {
        for (const TEntry& entry : exams[e].record->entries) {
            if (entry.question < 1 || entry.question > count)
                continue;
            const std::size_t q = std::size_t(entry.question - 1);
            if (seen[q] == e)
                continue;
            seen[q] = e;
            action(q, entry);
        }
    };
    for (std::size_t e = 0; e < n; ++e) {
        std::size_t right = 0;
        forEachEntry(e, [&](std::size_t q, const TEntry& entry) {
            TQuestionRow& row = t.rows[q];
            ++row.shown;
            if (!row.key)
                row.key = entry.key;
            if (entry.Answered())
                ++row.answered;
            if (entry.Right()) {
                ++row.right;
                ++right;
            }
            if (entry.chosen)
                ++row.chosen[std::size_t(entry.chosen - 'A')];
            row.typedTried += entry.typedTried;
            row.typedRight += entry.typedRight;
        });
        rightCounts[e] = static_cast<long double>(right);
    }

    // The best and the weakest group: the ranking's ends.
    std::vector<std::size_t> ranked(n);
    std::iota(ranked.begin(), ranked.end(), std::size_t(0));
    std::stable_sort(ranked.begin(), ranked.end(), [&](std::size_t a, std::size_t b) {
        return exams[a].record->total > exams[b].record->total;
    });
    // round(27 % of n), halves up, in whole numbers.
    const std::size_t group = std::max<std::size_t>(1, (27 * n + 50) / 100);
    std::vector<std::size_t> topRight(t.rows.size()), bottomRight(t.rows.size());
    std::vector<std::array<std::size_t, 5>> topChosen(t.rows.size());
    std::fill(seen.begin(), seen.end(), n);
    for (std::size_t i = 0; i < group && i < n; ++i)
        forEachEntry(ranked[i], [&](std::size_t q, const TEntry& entry) {
            topRight[q] += entry.Right();
            if (entry.chosen)
                ++topChosen[q][std::size_t(entry.chosen - 'A')];
        });
    std::fill(seen.begin(), seen.end(), n);
    for (std::size_t i = n - std::min(group, n); i < n; ++i)
        forEachEntry(ranked[i],
                     [&](std::size_t q, const TEntry& entry) { bottomRight[q] += entry.Right(); });

    for (std::size_t q = 0; q < t.rows.size(); ++q) {
        TQuestionRow& row = t.rows[q];
        if (row.answered > 0)
            row.facility = double(row.right) * 100 / double(row.answered);
        if (n >= 2 && row.shown > 0)
            row.discrimination = (double(topRight[q]) - double(bottomRight[q])) / double(group);
        row.tooEasy = row.facility && *row.facility > 90;
        row.tooHard = row.facility && *row.facility < 20;
        if (row.key) {
            const std::size_t key = topChosen[q][std::size_t(row.key - 'A')];
            for (std::size_t letter = 0; letter < 5; ++letter)
                row.checkKey = row.checkKey || topChosen[q][letter] > key;
        }
        row.checkKey = row.checkKey || (row.discrimination && *row.discrimination < 0);
    }

    // KR-20 = k/(k-1) · (1 - Σ p·q / σ²); with p = r/n it is
    // k/(k-1) · (1 - Σ r·(n-r) / (n·ΣX² - (ΣX)²)), all of it whole numbers.
    const long double k = static_cast<long double>(t.rows.size());
    long double sum = 0, squares = 0, items = 0;
    for (long double x : rightCounts) {
        sum += x;
        squares += x * x;
    }
    const long double total = static_cast<long double>(n);
    for (const TQuestionRow& row : t.rows)
        items +=
            static_cast<long double>(row.right) * (total - static_cast<long double>(row.right));
    const long double spread = total * squares - sum * sum;
    if (n >= 2 && t.rows.size() >= 2 && spread > 0)
        t.kr20 = double(k / (k - 1) * (1 - items / spread));
}

std::string DateText(const TDate& date) {
    return FormatDate(date, kPolishShortDateFormat);
}

// Names each version of a test that has more than one by the days of its
// exams, or by its place where no day can be read; versions whose days are
// the same (a test mended between two exams of a day) get their places too.
void NameVersions(std::vector<TTestAnalysis>& tests, const std::vector<TResultLine>& lines,
                  const TExportTable& table) {
    std::map<std::string, int> versions, numbered;
    for (const TTestAnalysis& t : tests)
        versions[t.name] += t.hash.has_value();
    std::map<std::pair<std::string, std::string>, int> named;
    std::vector<int> number(tests.size());
    for (std::size_t i = 0; i < tests.size(); ++i) {
        TTestAnalysis& t = tests[i];
        if (!t.hash || versions[t.name] < 2)
            continue;
        number[i] = ++numbered[t.name];
        std::optional<TDate> first, last;
        for (std::size_t line : t.lines) {
            const auto& fields = lines[line].fields;
            const auto date = fields ? table.StartDate(*fields) : std::nullopt;
            if (!date)
                continue;
            if (!first || CompareDates(*date, *first) < 0)
                first = date;
            if (!last || CompareDates(*last, *date) < 0)
                last = date;
        }
        if (!first)
            t.version = "";
        else if (*first == *last)
            t.version = "z dnia " + DateText(*first);
        else
            t.version = "z dni " + DateText(*first) + " – " + DateText(*last);
        ++named[{t.name, t.version}];
    }
    for (std::size_t i = 0; i < tests.size(); ++i) {
        TTestAnalysis& t = tests[i];
        if (number[i] == 0)
            continue;
        const bool alone = !t.version.empty() && named[{t.name, t.version}] == 1;
        t.version = alone ? "wersja " + t.version
                          : "wersja " + std::to_string(number[i]) +
                                (t.version.empty() ? "" : " " + t.version);
    }
}

} // namespace

std::string RowNotes(const TQuestionRow& row) {
    std::string notes;
    auto add = [&notes](const char* note) {
        if (!notes.empty())
            notes += "; ";
        notes += note;
    };
    if (row.tooEasy)
        add("za łatwe");
    if (row.tooHard)
        add("za trudne");
    if (row.checkKey)
        add("sprawdź klucz");
    return notes;
}

TQuestionAnalysis AnalyseQuestions(const std::vector<TResultLine>& lines, std::string_view records,
                                   const TExportTable& table, const TExportFilter& filter) {
    TQuestionAnalysis a;
    std::vector<std::size_t> chosen;
    std::unordered_map<std::string, std::size_t, TTextHash, std::equal_to<>> byPrefix;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!table.Matches(lines[i], filter))
            continue;
        chosen.push_back(i);
        if (auto prefix = RecordPrefix(lines[i].raw))
            byPrefix.emplace(std::move(*prefix), i);
    }

    std::unordered_map<std::size_t, TRecord> found;
    TStarts starts;
    if (!byPrefix.empty())
        ForEachLine(records, [&](std::size_t offset, std::size_t size, TLineEnd) {
            const std::string_view text = records.substr(offset, size);
            const auto named = byPrefix.find(PrefixOf(text));
            if (named == byPrefix.end() || found.contains(named->second))
                return;
            auto record = ParseAnswerRecord(text);
            if (record && record->questionCount <= kMaxAnalysedQuestions)
                found.emplace(named->second, Kept(std::move(*record), starts));
        });

    // The tables in the order of their first exams; the exams without a
    // record counted by their test's name.
    std::map<std::pair<std::string, std::uint64_t>, std::size_t> tableOf;
    std::vector<std::vector<TExam>> exams;
    std::map<std::string, std::vector<std::size_t>> missing;
    std::vector<std::string> missingNames; // in the order of their first lines
    for (std::size_t i : chosen) {
        const auto record = found.find(i);
        if (record == found.end()) {
            ++a.withoutRecord;
            if (lines[i].fields) {
                const std::string name = TestTitle(*lines[i].fields);
                std::vector<std::size_t>& of = missing[name];
                if (of.empty())
                    missingNames.push_back(name);
                of.push_back(i);
            }
            continue;
        }
        const TRecord& r = record->second;
        const auto [at, added] =
            tableOf.emplace(std::make_pair(r.testName, r.testHash), a.tests.size());
        if (added) {
            TTestAnalysis t;
            t.name = r.testName;
            t.hash = r.testHash;
            a.tests.push_back(std::move(t));
            exams.emplace_back();
        }
        exams[at->second].push_back({i, &r});
        a.tests[at->second].lines.push_back(i);
    }
    for (std::size_t t = 0; t < a.tests.size(); ++t) {
        TTestAnalysis& test = a.tests[t];
        test.exams = exams[t].size();
        if (const auto m = missing.find(test.name); m != missing.end())
            test.withoutRecord = m->second.size();
        Figures(test, exams[t], lines);
        Questions(test, exams[t], starts[{test.name, *test.hash}]);
    }
    // A test none of whose chosen exams has a record gets a table of its
    // count alone, in the place of its first exam.
    for (const std::string& name : missingNames) {
        const bool analysed = std::any_of(a.tests.begin(), a.tests.end(),
                                          [&](const TTestAnalysis& t) { return t.name == name; });
        if (analysed)
            continue;
        TTestAnalysis t;
        t.name = name;
        t.lines = std::move(missing[name]);
        t.withoutRecord = t.lines.size();
        a.tests.push_back(std::move(t));
    }
    std::stable_sort(a.tests.begin(), a.tests.end(),
                     [](const TTestAnalysis& x, const TTestAnalysis& y) {
                         return x.lines.front() < y.lines.front();
                     });
    NameVersions(a.tests, lines, table);
    return a;
}

std::filesystem::path AnswerRecordsPath(const std::filesystem::path& logPath) {
    return logPath.parent_path() / kAnswerRecordsFileName;
}

std::string MissingDataNote(std::size_t exams) {
    return "brak danych o pytaniach dla " + std::to_string(exams) +
           (exams == 1 ? " egzaminu" : " egzaminów");
}

std::string TableTitle(const TTestAnalysis& test) {
    return test.version.empty() ? test.name : test.name + " (" + test.version + ")";
}

std::vector<TFigure> TestFigures(const TTestAnalysis& t) {
    return {
        {"Egzaminy z danymi o pytaniach", double(t.exams), 0},
        {"Średnio punktów", t.meanPoints, 1},
        {"Odchylenie standardowe punktów", t.deviationPoints, 1},
        {"Średnio %", t.meanPercent, 1},
        {"Odchylenie standardowe %", t.deviationPercent, 1},
        {"KR-20", t.kr20, 2},
    };
}

} // namespace kwizmar
