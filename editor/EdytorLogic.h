#pragma once

#include "DocumentChecks.h"
#include "Fields.h"
#include "RegionalSettings.h"
#include "TestDocument.h"
#include "TextMeasure.h"
#include "UndoStack.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The test editor without its window: one test, the question selected in it,
// its edits with undo and redo, its checks, and the file it came from and is
// saved to. The window shows this state and forwards the teacher's actions.

namespace kwizmar {

enum class TSaveOutcome {
    Saved,
    HasErrors,     // refused: the test has errors (ErrorCount)
    NeedsPath,     // no .ts2 file yet: ask for one and SaveAs
    ReadOnly,      // refused: the file's owner may not write it (ask for another)
    ChangedOnDisk, // refused: someone changed the file since (ask before replacing)
};

class TEdytorLogic {
public:
    // Starts with a new test created `today`.
    TEdytorLogic(const IRegionalSettings& regional, const ITextMeasure& measure,
                 const TDate& today);

    // A new test created `today`, not saved anywhere yet.
    void New(const TDate& today);
    // Opens a .ts2 file or a text source; a text source is a draft and opens
    // with whatever errors it has. Throws EFOpenError when the file can't be
    // read and EDocumentError when it is no test (nor a draft of one); the
    // test in the editor then stays as it was.
    void Open(const std::string& path);
    // Opens a test kept for recovery (a text source) as the unsaved test of
    // `belongsTo`, its .ts2 file or draft (empty: a new test).
    void OpenRecovered(const std::string& kept, const std::string& belongsTo);
    // Writes the test to its .ts2 file (atomically; EFCreateError, with the
    // system's cause, on failure). A file changed on disk since the editor
    // read or wrote it is replaced only with `replaceChanged`.
    TSaveOutcome Save(bool replaceChanged = false);
    // As Save, to `path`, which becomes the test's file; ".ts2" is added to a
    // name without the extension the program accepts.
    TSaveOutcome SaveAs(std::string path);
    // Writes the text source of the test (kwizmar-ts2's format), errors or
    // not; ".txt" is added to a name without it. A draft keeps the work: the
    // test counts as saved afterwards. Returns the path written.
    std::string SaveDraft(std::string path);
    std::string ExportTextSource(std::string path);
    // The draft written last, or the text source the test was opened from.
    const std::string& DraftPath() const { return draft_; }

    // Whether the test's .ts2 file on disk is no longer what the editor read
    // or wrote last (a file that is gone counts as unchanged: a save makes
    // it again). DiskChangeNoticed: the teacher was told of this change and
    // kept the editor's test, which then counts as modified.
    bool ChangedOnDisk() const;
    bool DiskChangeNoticed() const;
    void NoticeDiskChange();
    // The .ts2 file the program is to open for "try it": the test's own file
    // when it is saved, else the test written into `scratchFolder`. Empty
    // when the test has errors.
    std::string FileToTry(const std::string& scratchFolder);

    // The test's .ts2 file; empty for a new test or one opened from a text
    // source. SuggestedPath is where Save as starts.
    const std::string& Path() const { return path_; }
    const std::string& SuggestedPath() const { return suggested_; }
    // The file name for the window's title: the .ts2 file, else the draft
    // ("bez nazwy.ts2" for a new test).
    std::string DisplayName() const;
    bool Modified() const { return !stack_.IsClean() || diverged_; }

    const TTestDocument& Document() const { return doc_; }
    std::string Text(TFieldRef ref) const { return FieldText(doc_, ref); }
    const std::vector<TCheck>& Checks() const { return checks_; }
    int ErrorCount() const;
    // The findings about one field, errors first.
    std::vector<TCheck> ChecksOf(TFieldRef ref) const;
    // Whether question k has an error in any of its fields.
    bool QuestionHasError(int k) const;

    // The selected question (-1: none, only when there are no questions).
    int Selected() const { return selected_; }
    void Select(int k);

    // Edits; each can be undone. A text equal to the field's text is no edit.
    void SetText(TFieldRef ref, const std::string& text);
    void SetCorrectAnswer(int k, int answerIndex);
    void SetSelfAnswer(int k, bool allowed);
    void SetMaxPointsByHand(bool byHand);
    void AddQuestion();       // a new question after the selected one
    void DuplicateQuestion(); // a copy of the selected one after it
    void DeleteQuestion();    // the selected one
    void MoveQuestion(int delta);
    // Questions from another file, after the last one, as one edit that
    // selects the first of them. The one question of a new test, left as it
    // was made, gives way to them. No questions, no edit.
    void AppendQuestions(const std::vector<TQuestion>& questions);

    bool CanUndo() const { return stack_.CanUndo(); }
    bool CanRedo() const { return stack_.CanRedo(); }
    const std::string& UndoLabel() const { return stack_.UndoLabel(); }
    const std::string& RedoLabel() const { return stack_.RedoLabel(); }
    void Undo();
    void Redo();
    // Typing into a field ends (it lost the focus): the next typing is an
    // edit of its own.
    void EndTyping() { stack_.EndTyping(); }

private:
    void Apply(TEdit edit);
    void EditQuestion(int k, const TQuestion& after, const std::string& label,
                      std::optional<TFieldRef> typingInto);
    void Refresh();
    TSaveOutcome Write(const std::string& path);
    std::optional<std::uint64_t> DiskHash() const;

    const IRegionalSettings& regional_;
    const ITextMeasure& measure_;
    TTestDocument doc_;
    TUndoStack stack_;
    std::vector<TCheck> checks_;
    // The checks of each question as last made, with the question they were
    // made of: a keystroke checks again only the question it changed.
    std::vector<TQuestion> checkedQuestions_;
    std::vector<std::vector<TCheck>> questionChecks_;
    std::vector<char> questionHasError_;
    std::string path_;
    std::string suggested_;
    std::string draft_;
    // What the .ts2 file held when the editor read or wrote it last, and
    // the change on disk the teacher was told of.
    std::optional<std::uint64_t> diskHash_, noticedHash_;
    bool diverged_ = false;
    int selected_ = -1;
};

} // namespace kwizmar
