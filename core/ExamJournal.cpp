#include "ExamJournal.h"

#include "AtomicFile.h"
#include "FileLock.h"
#include "Folders.h"
#include "Paths.h"
#include "WholeFile.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace kwizmar {

namespace {

constexpr std::string_view kMagic = "Kwizmar 2002: egzamin w toku, zapis 1";
constexpr std::string_view kChecksumKey = "suma=";
// A journal is a few hundred bytes; anything this large is not one.
constexpr std::uintmax_t kMaxJournalBytes = 4 * 1024 * 1024;
// Far beyond what an exam reaches, and far from where sums and differences
// of them overflow.
constexpr std::int64_t kMaxMagnitude = std::int64_t(1) << 40;
constexpr int kMaxQuestion = 1 << 30;
constexpr int kMaxMinutes = 24 * 60;

constexpr std::pair<TJournalPhase, std::string_view> kPhaseNames[] = {
    {TJournalPhase::FormChoice, "wybor-formy"}, {TJournalPhase::Choosing, "test"},
    {TJournalPhase::Verdict, "werdykt"},        {TJournalPhase::TypedWrong, "zla-samodzielna"},
    {TJournalPhase::Finishing, "koniec"},
};

// The keys a journal holds once each.
constexpr std::array<std::string_view, 17> kKeys = {
    "test",    "skrot-testu", "nazwa-testu", "uzytkownik",   "czas-min",    "start",
    "termin",  "pozostalo-s", "naglowek",    "liczba-pytan", "max-punktow", "pytanie",
    "zdobyto", "stracono",    "stan",        "poprawna",     "wiersz",
};

std::size_t KeyIndex(std::string_view key) {
    return std::size_t(std::find(kKeys.begin(), kKeys.end(), key) - kKeys.begin());
}

std::string Escape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::string Hex(std::uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return text;
}

template <typename T> bool ReadNumber(std::string_view text, T& value, int base = 10) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool ReadBounded(std::string_view text, std::int64_t& value) {
    return ReadNumber(text, value) && value > -kMaxMagnitude && value < kMaxMagnitude;
}

bool ReadBounded(std::string_view text, int& value, int low, int high) {
    return ReadNumber(text, value) && value >= low && value <= high;
}

// "<question> <kind> <points>", then (since the answers are recorded) the
// letter picked or "-", and " =" with the typed answer tried where one was.
std::optional<TQuestionOutcome> ParseOutcome(std::string_view v) {
    TQuestionOutcome o;
    const std::size_t s1 = v.find(' ');
    if (s1 == std::string_view::npos || s1 + 3 > v.size() || v[s1 + 2] != ' ' ||
        std::string_view("RWS").find(v[s1 + 1]) == std::string_view::npos ||
        !ReadBounded(v.substr(0, s1), o.question, 1, kMaxQuestion))
        return std::nullopt;
    o.kind = v[s1 + 1];
    std::string_view rest = v.substr(s1 + 3);
    const std::size_t s2 = rest.find(' ');
    if (!ReadBounded(rest.substr(0, s2), o.points))
        return std::nullopt;
    if (s2 == std::string_view::npos)
        return o;
    rest.remove_prefix(s2 + 1);
    if (rest.empty() || (rest[0] != '-' && (rest[0] < 'A' || rest[0] > 'E')))
        return std::nullopt;
    o.chosen = rest[0] == '-' ? 0 : rest[0];
    rest.remove_prefix(1);
    if (rest.starts_with(" ="))
        o.typed = std::string(rest.substr(2));
    else if (!rest.empty())
        return std::nullopt;
    return o;
}

bool ReadQuestionOrder(std::string_view v, std::vector<int>& order) {
    for (std::size_t at = 0; at <= v.size();) {
        const std::size_t end = std::min(v.find(' ', at), v.size());
        int q = 0;
        if (!ReadBounded(v.substr(at, end - at), q, 1, kMaxQuestion))
            return false;
        order.push_back(q);
        at = end + 1;
    }
    return true;
}

bool ReadAnswerOrders(std::string_view v, std::vector<TAnswerOrder>& orders) {
    for (std::size_t at = 0; at <= v.size(); at += kOrderedAnswers + 1) {
        if (at + kOrderedAnswers > v.size() ||
            (at + kOrderedAnswers < v.size() && v[at + kOrderedAnswers] != ' '))
            return false;
        TAnswerOrder& places = orders.emplace_back();
        for (int i = 0; i < kOrderedAnswers; ++i) {
            const char c = v[at + std::size_t(i)];
            if (c < '0' || c >= '0' + kOrderedAnswers)
                return false;
            places[std::size_t(i)] = c - '0';
        }
    }
    return true;
}

class TWriter {
public:
    void Put(std::string_view key, std::string_view value) {
        text_ += key;
        text_ += '=';
        text_ += Escape(value);
        text_ += '\n';
    }
    void Put(std::string_view key, std::int64_t value) { Put(key, std::to_string(value)); }
    std::string Finish() {
        const std::uint64_t sum = ContentHash(text_);
        text_ += kChecksumKey;
        text_ += Hex(sum);
        text_ += '\n';
        return std::move(text_);
    }
    std::string text_;
};

} // namespace

std::uint64_t ContentHash(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string FormatJournal(const TExamJournal& j) {
    TWriter w;
    w.text_ += kMagic;
    w.text_ += '\n';
    w.Put("test", j.testPath);
    w.Put("skrot-testu", Hex(j.testHash));
    w.Put("nazwa-testu", j.testName);
    w.Put("uzytkownik", j.userName);
    w.Put("czas-min", j.minutesAllowed);
    w.Put("start", j.startedAt);
    w.Put("termin", j.deadline);
    w.Put("pozostalo-s", j.secondsLeft);
    w.Put("naglowek", j.headerText);
    w.Put("liczba-pytan", j.questionCountText);
    w.Put("max-punktow", j.maxPointsText);
    w.Put("pytanie", j.questionNumber);
    w.Put("zdobyto", j.pointsGained);
    w.Put("stracono", j.pointsLost);
    for (const TQuestionOutcome& o : j.outcomes) {
        std::string value = std::to_string(o.question) + ' ' + o.kind + ' ' +
                            std::to_string(o.points) + ' ' + (o.chosen ? o.chosen : '-');
        if (o.typed)
            value += " =" + *o.typed;
        w.Put("wynik", value);
    }
    if (j.typedTried)
        w.Put("wpisana", *j.typedTried);
    if (!j.order.questions.empty()) {
        std::string value;
        for (int q : j.order.questions)
            value += (value.empty() ? "" : " ") + std::to_string(q);
        w.Put("kolejnosc-pytan", value);
    }
    if (!j.order.answers.empty()) {
        std::string value;
        for (const TAnswerOrder& places : j.order.answers) {
            if (!value.empty())
                value += ' ';
            for (int place : places)
                value += char('0' + place);
        }
        w.Put("kolejnosc-odpowiedzi", value);
    }
    for (const auto& [phase, name] : kPhaseNames)
        if (phase == j.phase)
            w.Put("stan", name);
    w.Put("poprawna", j.correctAnswerText);
    for (const std::string& line : j.feedback)
        w.Put("werdykt", line);
    if (j.phase == TJournalPhase::Finishing) {
        w.Put("wiersz", j.resultText);
        w.Put("odpowiedzi", FormatAnswerRecord(j.record));
    }
    return w.Finish();
}

std::optional<TExamJournal> ParseJournal(std::string_view text) {
    // The checksum line comes last and covers every byte before it.
    if (text.size() < kChecksumKey.size() + 17 || text.back() != '\n')
        return std::nullopt;
    const std::size_t sumAt = text.rfind('\n', text.size() - 2) + 1;
    const std::string_view sumLine = text.substr(sumAt, text.size() - 1 - sumAt);
    std::uint64_t sum = 0;
    if (sumAt == 0 || !sumLine.starts_with(kChecksumKey) ||
        !ReadNumber(sumLine.substr(kChecksumKey.size()), sum, 16) ||
        sum != ContentHash(text.substr(0, sumAt)))
        return std::nullopt;
    const std::string_view body = text.substr(0, sumAt);
    if (!body.starts_with(kMagic) || body.substr(kMagic.size(), 1) != "\n")
        return std::nullopt;

    TExamJournal j;
    std::size_t feedbackLines = 0;
    bool haveRecord = false;
    std::array<bool, kKeys.size()> seen{};
    for (std::size_t at = kMagic.size() + 1; at < body.size();) {
        const std::size_t end = body.find('\n', at);
        const std::string_view line = body.substr(at, end - at);
        at = end + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = line.substr(0, eq);
        const std::optional<std::string> value = Unescape(line.substr(eq + 1));
        if (!value)
            return std::nullopt;
        const std::string& v = *value;
        // Every key once, but the outcomes (any number) and the verdict's
        // lines; the typed answer tried and the record where there are any.
        if (key == "wpisana") {
            if (j.typedTried)
                return std::nullopt;
        } else if (key == "kolejnosc-pytan") {
            if (!j.order.questions.empty())
                return std::nullopt;
        } else if (key == "kolejnosc-odpowiedzi") {
            if (!j.order.answers.empty())
                return std::nullopt;
        } else if (key == "odpowiedzi") {
            if (haveRecord)
                return std::nullopt;
        } else if (key != "wynik" && key != "werdykt") {
            const std::size_t index = KeyIndex(key);
            if (index == kKeys.size() || seen[index])
                return std::nullopt;
            seen[index] = true;
        }
        bool ok = true;
        if (key == "test")
            j.testPath = v;
        else if (key == "skrot-testu")
            ok = v.size() == 16 && ReadNumber(v, j.testHash, 16);
        else if (key == "nazwa-testu")
            j.testName = v;
        else if (key == "uzytkownik")
            j.userName = v;
        else if (key == "czas-min")
            ok = ReadBounded(v, j.minutesAllowed, 1, kMaxMinutes);
        else if (key == "start")
            ok = ReadBounded(v, j.startedAt);
        else if (key == "termin")
            ok = ReadBounded(v, j.deadline);
        else if (key == "pozostalo-s")
            ok = ReadBounded(v, j.secondsLeft) && j.secondsLeft >= 0;
        else if (key == "naglowek")
            j.headerText = v;
        else if (key == "liczba-pytan")
            j.questionCountText = v;
        else if (key == "max-punktow")
            j.maxPointsText = v;
        else if (key == "pytanie")
            ok = ReadBounded(v, j.questionNumber, 1, kMaxQuestion);
        else if (key == "zdobyto")
            ok = ReadBounded(v, j.pointsGained);
        else if (key == "stracono")
            ok = ReadBounded(v, j.pointsLost);
        else if (key == "wynik") {
            const std::optional<TQuestionOutcome> o = ParseOutcome(v);
            ok = o.has_value();
            if (ok)
                j.outcomes.push_back(*o);
        } else if (key == "wpisana")
            j.typedTried = v;
        else if (key == "kolejnosc-pytan")
            ok = ReadQuestionOrder(v, j.order.questions);
        else if (key == "kolejnosc-odpowiedzi")
            ok = ReadAnswerOrders(v, j.order.answers);
        else if (key == "odpowiedzi") {
            std::optional<TAnswerRecord> record = ParseAnswerRecord(v);
            ok = record.has_value();
            if (ok)
                j.record = std::move(*record);
            haveRecord = true;
        } else if (key == "stan") {
            ok = false;
            for (const auto& [phase, name] : kPhaseNames)
                if (v == name) {
                    j.phase = phase;
                    ok = true;
                }
        } else if (key == "poprawna")
            j.correctAnswerText = v;
        else if (key == "werdykt")
            ok = feedbackLines < j.feedback.size() && (j.feedback[feedbackLines++] = v, true);
        else if (key == "wiersz")
            j.resultText = v;
        if (!ok)
            return std::nullopt;
    }
    // The result line belongs to a finishing exam, and to it alone.
    const bool finishing = j.phase == TJournalPhase::Finishing;
    if (haveRecord && !finishing)
        return std::nullopt;
    // The orders are whole and of one exam.
    const std::size_t ordered =
        j.order.questions.empty() ? j.order.answers.size() : j.order.questions.size();
    if (ordered > std::size_t(kMaxQuestion) || !OrderFits(j.order, int(ordered)))
        return std::nullopt;
    bool& resultLine = seen[KeyIndex("wiersz")];
    if (resultLine != finishing)
        return std::nullopt;
    resultLine = true;
    if (std::find(seen.begin(), seen.end(), false) != seen.end() ||
        feedbackLines != j.feedback.size() || (finishing && j.resultText.empty()))
        return std::nullopt;
    return j;
}

std::filesystem::path TExamJournalFile::DefaultFile() {
    const std::string folder = UserDataFolder();
    return folder.empty() ? std::filesystem::path() : PathFromUtf8(folder) / kFileName;
}

TExamJournalFile::TExamJournalFile() : TExamJournalFile(DefaultFile()) {}

TExamJournalFile::TExamJournalFile(std::filesystem::path file) : file_(std::move(file)) {
    if (file_.empty())
        return;
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    // Held for the whole run: the journal is this copy's, and a copy started
    // while this one runs leaves it alone. The system lets it go when the
    // program dies, however it dies.
    lock_ = std::make_unique<TFileLock>(std::filesystem::path(file_) += ".lock", false);
}

TExamJournalFile::~TExamJournalFile() = default;

bool TExamJournalFile::Owned() const {
    return lock_ && lock_->Held();
}

TExamJournalFile::TFound TExamJournalFile::Read(TExamJournal& journal) const {
    if (!Owned())
        return TFound::Nothing;
    std::string bytes;
    switch (TryReadWholeFile(file_, bytes, kMaxJournalBytes)) {
    case TWholeFileRead::Read:
        break;
    case TWholeFileRead::Missing:
        return TFound::Nothing;
    default:
        return TFound::Damaged;
    }
    std::optional<TExamJournal> read = ParseJournal(bytes);
    if (!read)
        return TFound::Damaged;
    journal = std::move(*read);
    return TFound::Journal;
}

void TExamJournalFile::SetAside() noexcept {
    if (!Owned())
        return;
    std::error_code ec;
    std::filesystem::rename(file_, std::filesystem::path(file_) += ".uszkodzony", ec);
}

void TExamJournalFile::Write(const TExamJournal& journal) noexcept {
    if (!Owned())
        return;
    try {
        WriteFileAtomically(file_, FormatJournal(journal));
    } catch (...) {
        // The exam goes on without a journal; the next step tries again.
    }
}

void TExamJournalFile::Remove() noexcept {
    if (!Owned())
        return;
    std::error_code ec;
    std::filesystem::remove(file_, ec);
}

} // namespace kwizmar
