#pragma once

#include "DocumentChecks.h"
#include "Fields.h"
#include "RegionalSettings.h"
#include "TestDocument.h"
#include "TextMeasure.h"
#include "UndoStack.h"

#include <string>
#include <vector>

// The test editor without its window: one test, the question selected in it,
// its edits with undo and redo, its checks, and the file it came from and is
// saved to. The window shows this state and forwards the teacher's actions.

namespace kwizmar {

enum class TSaveOutcome {
    Saved,
    HasErrors, // refused: the test has errors (ErrorCount)
    NeedsPath, // no .ts2 file yet: ask for one and SaveAs
};

class TEdytorLogic {
public:
    // Starts with a new test created `today`.
    TEdytorLogic(const IRegionalSettings& regional, const ITextMeasure& measure,
                 const TDate& today);

    // A new test created `today`, not saved anywhere yet.
    void New(const TDate& today);
    // Opens a .ts2 file or a text source. Throws EFOpenError when the file
    // can't be read and EDocumentError when it is no test the program
    // accepts; the test in the editor then stays as it was.
    void Open(const std::string& path);
    // Writes the test to its .ts2 file (atomically; EFCreateError on failure).
    TSaveOutcome Save();
    // As Save, to `path`, which becomes the test's file; ".ts2" is added to a
    // name without the extension the program accepts.
    TSaveOutcome SaveAs(std::string path);
    // Writes the text source of the test (kwizmar-ts2's format), errors or not.
    void ExportTextSource(const std::string& path);
    // The .ts2 file the program is to open for "try it": the test's own file
    // when it is saved, else the test written into `scratchFolder`. Empty
    // when the test has errors.
    std::string FileToTry(const std::string& scratchFolder);

    // The test's .ts2 file; empty for a new test or one opened from a text
    // source. SuggestedPath is where Save as starts.
    const std::string& Path() const { return path_; }
    const std::string& SuggestedPath() const { return suggested_; }
    // The file name for the window's title ("bez nazwy.ts2" for a new test).
    std::string DisplayName() const;
    bool Modified() const { return !stack_.IsClean(); }

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

    const IRegionalSettings& regional_;
    const ITextMeasure& measure_;
    TTestDocument doc_;
    TUndoStack stack_;
    std::vector<TCheck> checks_;
    std::string path_;
    std::string suggested_;
    int selected_ = -1;
};

} // namespace kwizmar
