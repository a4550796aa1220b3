#pragma once

#include "AnswerRecord.h"
#include "ExamState.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The journal of the exam in progress: what it takes to continue an exam
// exactly where it stood after the program was killed, crashed or the
// computer lost power. The exam writes it at its start and after every step
// that changes its outcome, and removes it once the exam has ended: after its
// result line is stored, or when the exam is abandoned.
//
// The file is UTF-8 text, one "key=value" a line, backslash, CR and LF in a
// value escaped as \\, \r and \n; its first line names the format and its
// last line carries a checksum of everything before it, so that a file cut
// short or changed by hand is never taken for an exam.

namespace kwizmar {

// Where the exam stood at the last step written.
enum class TJournalPhase {
    FormChoice, // the form chooser of a question with a typed answer
    Choosing,   // the test form, no verdict yet
    Verdict,    // a verdict that counted, waiting for "O&K"
    TypedWrong, // a wrong typed answer, waiting for the fall-back to the test form
    Finishing,  // the exam is over; resultText is its line, on its way to the log
};

struct TExamJournal {
    std::string testPath;
    std::uint64_t testHash = 0; // ContentHash of the test as the exam read it
    std::string testName;
    std::string userName;
    int minutesAllowed = 0;
    // Seconds since 1970 on the computer's clock.
    std::int64_t startedAt = 0;
    std::int64_t deadline = 0;
    // The time left on the exam clock when the step was written: a clock put
    // back while the program was off gives no time beyond it.
    std::int64_t secondsLeft = 0;
    std::string headerText;
    std::string questionCountText; // header lines 4 and 5 as stored
    std::string maxPointsText;
    int questionNumber = 1;
    std::int64_t pointsGained = 0;
    std::int64_t pointsLost = 0;
    std::vector<TQuestionOutcome> outcomes;
    // The exam's own order, where it has one.
    TExamOrder order;
    // A wrong typed answer to the question on screen, until its pick.
    std::optional<std::string> typedTried;
    TJournalPhase phase = TJournalPhase::Choosing;
    std::string correctAnswerText;
    std::array<std::string, 4> feedback; // the verdict panel's lines
    std::string resultText;              // Finishing only: the line without its number
    TAnswerRecord record;                // Finishing only: the answers' record of the line

    bool operator==(const TExamJournal&) const = default;
};

std::string FormatJournal(const TExamJournal& journal);
// Nothing for a text that is not a whole journal of this format.
std::optional<TExamJournal> ParseJournal(std::string_view text);

// 64-bit FNV-1a of `bytes`.
std::uint64_t ContentHash(std::string_view bytes);

// Where the exam writes its journal.
class IExamJournal {
public:
    virtual ~IExamJournal() = default;
    // Both never throw: a journal that can't be written leaves the exam
    // running as it would without one.
    virtual void Write(const TExamJournal& journal) noexcept = 0;
    virtual void Remove() noexcept = 0;
};

// The journal file of one user, "egzamin-w-toku.txt" in the user's own data
// folder. A copy of the program owns it while it runs when it got the lock
// file beside it at its start; a second copy started meanwhile neither
// writes, offers nor removes the journal of the first.
class TExamJournalFile final : public IExamJournal {
public:
    static constexpr const char* kFileName = "egzamin-w-toku.txt";

    // The journal in the user's data folder (nothing owned where the system
    // names none).
    TExamJournalFile();
    explicit TExamJournalFile(std::filesystem::path file);
    ~TExamJournalFile() override;

    // The user's data folder and kFileName; empty where there is no such folder.
    static std::filesystem::path DefaultFile();

    bool Owned() const;
    const std::filesystem::path& File() const { return file_; }

    enum class TFound { Nothing, Journal, Damaged };
    // The journal left by an exam that did not end. Only the owner reads it.
    TFound Read(TExamJournal& journal) const;
    // Moves a damaged journal aside ("<name>.uszkodzony") so that it is
    // neither offered again nor lost.
    void SetAside() noexcept;

    // Written whole to a temporary file, flushed and renamed over the journal.
    void Write(const TExamJournal& journal) noexcept override;
    void Remove() noexcept override;

private:
    std::filesystem::path file_;
    std::unique_ptr<class TFileLock> lock_;
};

} // namespace kwizmar
