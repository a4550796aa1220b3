#include "UndoStack.h"

namespace kwizmar {

namespace {
const std::string kNothing;
}

void TUndoStack::Push(TEdit edit, TTestDocument& doc) {
    edit.redo(doc);
    edits_.resize(top_);
    if (clean_ && *clean_ > top_)
        clean_.reset();
    // Typing goes on in the same field: the run keeps its first undo and takes
    // the newest redo. Not across a save, so that undo reaches the saved text.
    if (typingOpen_ && edit.typingInto && top_ > 0 && !IsClean() &&
        edits_[top_ - 1].typingInto == edit.typingInto) {
        edits_[top_ - 1].redo = std::move(edit.redo);
        return;
    }
    typingOpen_ = edit.typingInto.has_value();
    edits_.push_back(std::move(edit));
    ++top_;
}

const std::string& TUndoStack::UndoLabel() const {
    return CanUndo() ? edits_[top_ - 1].label : kNothing;
}

const std::string& TUndoStack::RedoLabel() const {
    return CanRedo() ? edits_[top_].label : kNothing;
}

int TUndoStack::Undo(TTestDocument& doc) {
    if (!CanUndo())
        return -1;
    typingOpen_ = false;
    --top_;
    edits_[top_].undo(doc);
    return edits_[top_].selectAfterUndo;
}

int TUndoStack::Redo(TTestDocument& doc) {
    if (!CanRedo())
        return -1;
    typingOpen_ = false;
    edits_[top_].redo(doc);
    return edits_[top_++].selectAfterRedo;
}

void TUndoStack::SetClean() {
    clean_ = top_;
    typingOpen_ = false;
}

void TUndoStack::Clear() {
    edits_.clear();
    top_ = 0;
    clean_ = 0;
    typingOpen_ = false;
}

} // namespace kwizmar
