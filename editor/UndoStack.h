#pragma once

#include "DocumentChecks.h"
#include "TestDocument.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Undo and redo of the editor's edits: each edit knows how to make itself and
// how to take itself back. Typing into one field makes one edit of a run of
// key presses, until another edit comes between.

namespace kwizmar {

struct TEdit {
    std::string label; // what the edit did, for "Cofnij: …"
    std::function<void(TTestDocument&)> redo;
    std::function<void(TTestDocument&)> undo;
    // Edits of the same field follow each other into one.
    std::optional<TFieldRef> typingInto;
    // The question to select after the edit is made or taken back (-1: keep).
    int selectAfterRedo = -1;
    int selectAfterUndo = -1;
};

class TUndoStack {
public:
    // Makes the edit and keeps it for undo; whatever was undone is gone.
    void Push(TEdit edit, TTestDocument& doc);
    bool CanUndo() const { return top_ > 0; }
    bool CanRedo() const { return top_ < edits_.size(); }
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;
    // Both return the question to select (-1: keep the selection).
    int Undo(TTestDocument& doc);
    int Redo(TTestDocument& doc);
    // The next typing starts an edit of its own.
    void EndTyping() { typingOpen_ = false; }

    // The document is as saved when the stack stands where SetClean left it.
    void SetClean();
    bool IsClean() const { return clean_ && *clean_ == top_; }
    // Forgets every edit (a new or opened test); the state is clean.
    void Clear();

private:
    std::vector<TEdit> edits_;
    std::size_t top_ = 0; // edits_[0 … top_) are made
    std::optional<std::size_t> clean_ = 0;
    bool typingOpen_ = false;
};

} // namespace kwizmar
