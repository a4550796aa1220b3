// The journal of an exam in progress, as a restart finds it.
#include "FuzzEntries.h"

#include "EgzaminLogic.h"
#include "Errors.h"
#include "ExamJournal.h"
#include "TempDir.h"
#include "TestFixtures.h"

#include <cstdio>
#include <functional>

namespace kwizmar::fuzz {

namespace {

using testing::TFakeMeasure;
using testing::TFakeRegional;
using testing::TFixedClock;
using testing::TSilentMessages;

class TNoJournal final : public IExamJournal {
public:
    void Write(const TExamJournal&) noexcept override {}
    void Remove() noexcept override { removed = true; }
    bool removed = false;
};

// The test every journal is picked up on: the path in the input is not
// followed, a file of the fuzzer's choosing could be anything.
const std::string& TestPath() {
    static const testing::TTempDir dir;
    static const std::string path =
        dir.Write("test.ts2", testing::MakeTs2(testing::ValidTestLines(3)));
    return path;
}

// Picks the exam up, goes on or ends it, and lets the clock run out.
void Resume(const TExamJournal& journal, bool goOn) {
    TFakeRegional regional;
    TFakeMeasure measure;
    TSilentMessages messages;
    TFixedClock clock;
    TNoJournal store;
    std::vector<std::string> log;
    std::vector<TAnswerRecord> records;
    TEgzaminLogic logic{TExamPorts{[](const std::string&) {}, [] { return false; },
                                   [&](const std::string& line, const TAnswerRecord& record,
                                       const TExamPorts::TSaved& done) {
                                       log.push_back(line);
                                       records.push_back(record);
                                       done(nullptr);
                                   },
                                   messages, clock, regional, measure, &store,
                                   [](const std::string&) { return false; }}};
    logic.ResumeExam(journal, goOn);
    for (int t = 0; t <= 24 * 3600 && logic.view().Czas; ++t) {
        try {
            logic.ClockTick();
        } catch (const EConvertError&) {
        }
    }
    Require(!logic.view().Czas, "a picked-up exam ends when its time is up");
    Require(log.size() == 1, "a picked-up exam gives exactly one line");
    // Its record reads back as written, one entry per question shown, in order.
    const std::optional<TAnswerRecord> read = ParseAnswerRecord(FormatAnswerRecord(records.at(0)));
    Require(read && *read == records[0], "a record reads back as written");
    for (std::size_t i = 0; i < records[0].entries.size(); ++i)
        Require(records[0].entries[i].question == int(i) + 1 &&
                    records[0].entries[i].question <= records[0].questionCount,
                "a record names the questions shown, in order");
    Require(store.removed, "the journal goes once the line is stored");
}

void ReadAndResume(std::string_view bytes) {
    const std::optional<TExamJournal> journal = ParseJournal(bytes);
    if (!journal)
        return;
    const std::string text = FormatJournal(*journal);
    const std::optional<TExamJournal> again = ParseJournal(text);
    Require(again && *again == *journal, "a journal is read back as it was written");

    TExamJournal onTheTest = *journal;
    onTheTest.testPath = TestPath();
    Resume(onTheTest, false);
    Resume(onTheTest, true);
    // The same journal on the test it was written for, unchanged.
    onTheTest.testHash = TTestFile::ReadFile(TestPath()).ContentHash();
    Resume(onTheTest, true);
}

// The bytes as the program would have written them: a last line ended, and
// the checksum of everything before it after it, in place of the one the
// bytes end with. Nearly every change of a journal breaks its checksum; summed
// again, the change reaches the reader, the resume and the clock.
std::string Summed(std::string_view bytes) {
    std::string body(bytes);
    if (const std::size_t sum = body.rfind("suma=");
        sum != std::string::npos && (sum == 0 || body[sum - 1] == '\n'))
        body.erase(sum);
    if (!body.empty() && body.back() != '\n')
        body += '\n';
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(ContentHash(body)));
    return body + "suma=" + hex + "\n";
}

} // namespace

void ExamJournalEntry(std::string_view bytes) {
    // As they come: the checksum's own check.
    ReadAndResume(bytes);
    ReadAndResume(Summed(bytes));
}

} // namespace kwizmar::fuzz
