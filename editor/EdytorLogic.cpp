#include "EdytorLogic.h"

#include "AnswerLetters.h"
#include "AtomicFile.h"
#include "Errors.h"
#include "Paths.h"
#include "TestLoader.h"
#include "WholeFile.h"

#include <algorithm>
#include <filesystem>

namespace kwizmar {

namespace {

// What of the header an edit can change.
struct THeaderFields {
    std::string description, nameLine, author, createdDate;
    std::optional<std::string> maxPointsByHand;
};

THeaderFields HeaderOf(const TTestDocument& doc) {
    return {doc.description, doc.nameLine, doc.author, doc.createdDate, doc.maxPointsByHand};
}

void PutHeader(TTestDocument& doc, const THeaderFields& h) {
    doc.description = h.description;
    doc.nameLine = h.nameLine;
    doc.author = h.author;
    doc.createdDate = h.createdDate;
    doc.maxPointsByHand = h.maxPointsByHand;
}

bool IsHeaderField(TField field) {
    return field == TField::Description || field == TField::Name || field == TField::Author ||
           field == TField::Date || field == TField::MaxPoints;
}

std::string Numbered(const char* what, int k) {
    return std::string(what) + " " + std::to_string(k + 1);
}

// "nazwa.ts2" for "folder/nazwa.txt".
std::string WithTestExtension(const std::string& path) {
    std::filesystem::path p = PathFromUtf8(path);
    p.replace_extension(".ts2");
    return Utf8FromPath(p);
}

// The extension `extension` (".txt") added to a path not ending so, in any
// letter case.
std::string WithExtension(std::string path, std::string_view extension) {
    std::string end = path.size() >= extension.size() ? path.substr(path.size() - extension.size())
                                                      : std::string();
    for (char& c : end)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (end != extension)
        path += extension;
    return path;
}

// FNV-1a: enough to tell whether a file still holds the bytes it held.
std::uint64_t Hash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// A file that exists and whose owner may not write it.
bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(PathFromUtf8(path), ec);
    return !ec && std::filesystem::is_regular_file(status) &&
           (status.permissions() & std::filesystem::perms::owner_write) ==
               std::filesystem::perms::none;
}

bool SameQuestion(const TQuestion& a, const TQuestion& b) {
    return a.text == b.text && a.answers == b.answers && a.correctLetter == b.correctLetter &&
           a.points == b.points && a.selfAnswerLine == b.selfAnswerLine;
}

} // namespace

TEdytorLogic::TEdytorLogic(const IRegionalSettings& regional, const ITextMeasure& measure,
                           const TDate& today)
    : regional_(regional), measure_(measure) {
    New(today);
}

void TEdytorLogic::New(const TDate& today) {
    doc_ = NewTestDocument(today);
    stack_.Clear();
    path_.clear();
    suggested_.clear();
    draft_.clear();
    diskHash_.reset();
    noticedHash_.reset();
    diverged_ = false;
    selected_ = 0;
    Refresh();
}

void TEdytorLogic::Open(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(PathFromUtf8(path), bytes))
        throw EFOpenError(path);
    doc_ = ReadDocument(path, bytes, regional_);
    stack_.Clear();
    noticedHash_.reset();
    diverged_ = false;
    // A text source, or a file the program would not open by its name, is
    // saved as a .ts2 file beside it, never over it.
    if (HasTestFileExtension(path)) {
        path_ = path;
        suggested_ = path;
        draft_.clear();
        diskHash_ = Hash(bytes);
    } else {
        path_.clear();
        suggested_ = WithTestExtension(path);
        draft_ = IsTextSourcePath(path) ? path : std::string();
        diskHash_.reset();
    }
    selected_ = doc_.questions.empty() ? -1 : 0;
    Refresh();
}

void TEdytorLogic::OpenRecovered(const std::string& kept, const std::string& belongsTo) {
    Open(kept);
    path_.clear();
    draft_.clear();
    suggested_.clear();
    if (HasTestFileExtension(belongsTo)) {
        path_ = belongsTo;
        suggested_ = belongsTo;
        diskHash_ = DiskHash();
    } else if (!belongsTo.empty()) {
        draft_ = belongsTo;
        suggested_ = WithTestExtension(belongsTo);
    }
    // Saved nowhere yet.
    diverged_ = true;
}

TSaveOutcome TEdytorLogic::Write(const std::string& path) {
    if (ErrorCount() > 0)
        return TSaveOutcome::HasErrors;
    // The atomic write would replace it whatever its mode says.
    if (IsReadOnlyFile(path))
        return TSaveOutcome::ReadOnly;
    const std::string bytes = StoredBytes(doc_);
    WriteFileAtomically(PathFromUtf8(path), bytes);
    path_ = path;
    suggested_ = path;
    diskHash_ = Hash(bytes);
    noticedHash_.reset();
    diverged_ = false;
    stack_.SetClean();
    return TSaveOutcome::Saved;
}

TSaveOutcome TEdytorLogic::Save(bool replaceChanged) {
    if (ErrorCount() > 0)
        return TSaveOutcome::HasErrors;
    if (path_.empty())
        return TSaveOutcome::NeedsPath;
    if (!replaceChanged && ChangedOnDisk())
        return TSaveOutcome::ChangedOnDisk;
    return Write(path_);
}

std::optional<std::uint64_t> TEdytorLogic::DiskHash() const {
    std::string bytes;
    if (path_.empty() || TryReadWholeFile(PathFromUtf8(path_), bytes) != TWholeFileRead::Read)
        return std::nullopt;
    return Hash(bytes);
}

bool TEdytorLogic::ChangedOnDisk() const {
    if (!diskHash_)
        return false;
    const auto now = DiskHash();
    return now && *now != *diskHash_;
}

bool TEdytorLogic::DiskChangeNoticed() const {
    return noticedHash_ && noticedHash_ == DiskHash();
}

void TEdytorLogic::NoticeDiskChange() {
    noticedHash_ = DiskHash();
    diverged_ = true;
}

TSaveOutcome TEdytorLogic::SaveAs(std::string path) {
    if (!HasTestFileExtension(path))
        path += ".ts2";
    return Write(path);
}

std::string TEdytorLogic::ExportTextSource(std::string path) {
    path = WithExtension(std::move(path), ".txt");
    WriteFileAtomically(PathFromUtf8(path), TextSourceBytes(doc_));
    return path;
}

std::string TEdytorLogic::SaveDraft(std::string path) {
    path = ExportTextSource(std::move(path));
    draft_ = path;
    diverged_ = false;
    if (path_.empty())
        suggested_ = WithTestExtension(path);
    stack_.SetClean();
    return path;
}

std::string TEdytorLogic::FileToTry(const std::string& scratchFolder) {
    if (ErrorCount() > 0)
        return {};
    if (!path_.empty() && !Modified())
        return path_;
    std::filesystem::path file = PathFromUtf8(scratchFolder) / PathFromUtf8(DisplayName());
    if (!HasTestFileExtension(Utf8FromPath(file)))
        file.replace_extension(".ts2");
    WriteFileAtomically(file, StoredBytes(doc_));
    return Utf8FromPath(file);
}

std::string TEdytorLogic::DisplayName() const {
    const std::string& path = !path_.empty() ? path_ : !draft_.empty() ? draft_ : suggested_;
    if (path.empty())
        return "bez nazwy.ts2";
    return Utf8FromPath(PathFromUtf8(path).filename());
}

int TEdytorLogic::ErrorCount() const {
    int count = 0;
    for (const TCheck& check : checks_)
        count += check.severity == TSeverity::Error ? 1 : 0;
    return count;
}

std::vector<TCheck> TEdytorLogic::ChecksOf(TFieldRef ref) const {
    std::vector<TCheck> found;
    for (TSeverity severity : {TSeverity::Error, TSeverity::Warning})
        for (const TCheck& check : checks_)
            if (check.where == ref && check.severity == severity)
                found.push_back(check);
    return found;
}

bool TEdytorLogic::QuestionHasError(int k) const {
    return k >= 0 && k < static_cast<int>(questionHasError_.size()) &&
           questionHasError_[static_cast<std::size_t>(k)] != 0;
}

void TEdytorLogic::Select(int k) {
    if (k < 0 || k >= static_cast<int>(doc_.questions.size()) || k == selected_)
        return;
    selected_ = k;
    stack_.EndTyping();
}

void TEdytorLogic::Apply(TEdit edit) {
    const int select = edit.selectAfterRedo;
    stack_.Push(std::move(edit), doc_);
    if (select >= 0)
        selected_ = select;
    Refresh();
}

void TEdytorLogic::EditQuestion(int k, const TQuestion& after, const std::string& label,
                                std::optional<TFieldRef> typingInto) {
    const std::size_t i = static_cast<std::size_t>(k);
    const TQuestion before = doc_.questions.at(i);
    TEdit edit;
    edit.label = label;
    edit.redo = [i, after](TTestDocument& d) { d.questions[i] = after; };
    edit.undo = [i, before](TTestDocument& d) { d.questions[i] = before; };
    edit.typingInto = typingInto;
    edit.selectAfterRedo = edit.selectAfterUndo = k;
    Apply(std::move(edit));
}

void TEdytorLogic::SetText(TFieldRef ref, const std::string& text) {
    if (FieldText(doc_, ref) == text && !(ref.field == TField::MaxPoints && !doc_.maxPointsByHand))
        return;
    if (IsHeaderField(ref.field)) {
        const THeaderFields before = HeaderOf(doc_);
        TTestDocument changed = doc_;
        SetFieldText(changed, ref, text);
        const THeaderFields after = HeaderOf(changed);
        TEdit edit;
        edit.label = FieldName(ref);
        edit.redo = [after](TTestDocument& d) { PutHeader(d, after); };
        edit.undo = [before](TTestDocument& d) { PutHeader(d, before); };
        edit.typingInto = ref;
        Apply(std::move(edit));
        return;
    }
    TTestDocument changed;
    changed.questions = {doc_.questions.at(static_cast<std::size_t>(ref.question))};
    TFieldRef inCopy = ref;
    inCopy.question = 0;
    SetFieldText(changed, inCopy, text);
    const bool typing = ref.field != TField::SelfAnswer && ref.field != TField::CorrectLetter;
    EditQuestion(ref.question, changed.questions[0], FieldName(ref),
                 typing ? std::optional<TFieldRef>(ref) : std::nullopt);
}

void TEdytorLogic::SetCorrectAnswer(int k, int answerIndex) {
    SetText({TField::CorrectLetter, k}, kAnswerLetters[answerIndex]);
}

void TEdytorLogic::SetSelfAnswer(int k, bool allowed) {
    SetText({TField::SelfAnswer, k}, allowed ? "TAK" : "NIE");
}

void TEdytorLogic::SetMaxPointsByHand(bool byHand) {
    if (byHand == doc_.maxPointsByHand.has_value())
        return;
    const THeaderFields before = HeaderOf(doc_);
    THeaderFields after = before;
    if (byHand)
        after.maxPointsByHand = MaxPointsLine(doc_);
    else
        after.maxPointsByHand.reset();
    TEdit edit;
    edit.label = byHand ? "maksymalna liczba punktów ustawiona ręcznie"
                        : "maksymalna liczba punktów jako suma";
    edit.redo = [after](TTestDocument& d) { PutHeader(d, after); };
    edit.undo = [before](TTestDocument& d) { PutHeader(d, before); };
    Apply(std::move(edit));
}

void TEdytorLogic::AddQuestion() {
    const int at = selected_ + 1;
    const std::size_t i = static_cast<std::size_t>(at);
    const int before = selected_;
    TEdit edit;
    edit.label = Numbered("nowe pytanie", at);
    edit.redo = [i](TTestDocument& d) {
        d.questions.insert(d.questions.begin() + static_cast<std::ptrdiff_t>(i), NewQuestion());
    };
    edit.undo = [i](TTestDocument& d) {
        d.questions.erase(d.questions.begin() + static_cast<std::ptrdiff_t>(i));
    };
    edit.selectAfterRedo = at;
    edit.selectAfterUndo = before;
    Apply(std::move(edit));
}

void TEdytorLogic::DuplicateQuestion() {
    if (selected_ < 0)
        return;
    const std::size_t i = static_cast<std::size_t>(selected_) + 1;
    const TQuestion copy = doc_.questions[i - 1];
    TEdit edit;
    edit.label = Numbered("kopia pytania", selected_);
    edit.redo = [i, copy](TTestDocument& d) {
        d.questions.insert(d.questions.begin() + static_cast<std::ptrdiff_t>(i), copy);
    };
    edit.undo = [i](TTestDocument& d) {
        d.questions.erase(d.questions.begin() + static_cast<std::ptrdiff_t>(i));
    };
    edit.selectAfterRedo = selected_ + 1;
    edit.selectAfterUndo = selected_;
    Apply(std::move(edit));
}

void TEdytorLogic::DeleteQuestion() {
    if (selected_ < 0)
        return;
    const std::size_t i = static_cast<std::size_t>(selected_);
    const TQuestion removed = doc_.questions[i];
    TEdit edit;
    edit.label = Numbered("usunięcie pytania", selected_);
    edit.redo = [i](TTestDocument& d) {
        d.questions.erase(d.questions.begin() + static_cast<std::ptrdiff_t>(i));
    };
    edit.undo = [i, removed](TTestDocument& d) {
        d.questions.insert(d.questions.begin() + static_cast<std::ptrdiff_t>(i), removed);
    };
    const int remaining = static_cast<int>(doc_.questions.size()) - 1;
    edit.selectAfterRedo = std::min(selected_, remaining - 1);
    edit.selectAfterUndo = selected_;
    Apply(std::move(edit));
    if (doc_.questions.empty())
        selected_ = -1;
}

void TEdytorLogic::MoveQuestion(int delta) {
    const int to = selected_ + delta;
    if (selected_ < 0 || to < 0 || to >= static_cast<int>(doc_.questions.size()))
        return;
    const std::size_t a = static_cast<std::size_t>(selected_), b = static_cast<std::size_t>(to);
    TEdit edit;
    edit.label = Numbered("przeniesienie pytania", selected_);
    edit.redo = [a, b](TTestDocument& d) { std::swap(d.questions[a], d.questions[b]); };
    edit.undo = edit.redo;
    edit.selectAfterRedo = to;
    edit.selectAfterUndo = selected_;
    Apply(std::move(edit));
}

void TEdytorLogic::AppendQuestions(const std::vector<TQuestion>& questions) {
    if (questions.empty())
        return;
    const std::vector<TQuestion> before = doc_.questions;
    std::vector<TQuestion> after = before;
    const TQuestion fresh = NewQuestion();
    if (after.size() == 1 && after[0].text == fresh.text && after[0].answers == fresh.answers &&
        after[0].correctLetter == fresh.correctLetter && after[0].points == fresh.points &&
        after[0].selfAnswerLine == fresh.selfAnswerLine)
        after.clear();
    const int first = static_cast<int>(after.size());
    after.insert(after.end(), questions.begin(), questions.end());
    TEdit edit;
    edit.label = "import pytań";
    edit.redo = [after](TTestDocument& d) { d.questions = after; };
    edit.undo = [before](TTestDocument& d) { d.questions = before; };
    edit.selectAfterRedo = first;
    edit.selectAfterUndo = selected_;
    Apply(std::move(edit));
}

void TEdytorLogic::Undo() {
    const int select = stack_.Undo(doc_);
    if (select >= 0)
        selected_ = select;
    Refresh();
}

void TEdytorLogic::Redo() {
    const int select = stack_.Redo(doc_);
    if (select >= 0)
        selected_ = select;
    Refresh();
}

void TEdytorLogic::Refresh() {
    const int count = static_cast<int>(doc_.questions.size());
    if (selected_ >= count)
        selected_ = count - 1;
    if (selected_ < 0 && count > 0)
        selected_ = 0;
    checks_ = CheckHeaderOf(doc_, regional_, measure_);
    const std::size_t n = doc_.questions.size();
    const std::size_t kept = std::min(checkedQuestions_.size(), n);
    checkedQuestions_.resize(n);
    questionChecks_.resize(n);
    questionHasError_.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const TQuestion& q = doc_.questions[k];
        if (k >= kept || !SameQuestion(checkedQuestions_[k], q)) {
            checkedQuestions_[k] = q;
            questionChecks_[k] = CheckQuestionOf(doc_, static_cast<int>(k), regional_, measure_);
            questionHasError_[k] = 0;
            for (const TCheck& check : questionChecks_[k])
                questionHasError_[k] |= check.severity == TSeverity::Error ? 1 : 0;
        }
        checks_.insert(checks_.end(), questionChecks_[k].begin(), questionChecks_[k].end());
    }
}

} // namespace kwizmar
