#pragma once
// Undo and redo of the changes to a project: the model is held by value, so each step is simply
// a copy of the project as it was before the change. Knows which step was last saved, so that
// undoing back to it can clear the modified mark.

#include "model/LENIProject.h"

#include <cstddef>
#include <deque>
#include <vector>

class CUndoStack {
  public:
    static constexpr size_t kDefaultLimit = 100;
    explicit CUndoStack(size_t limit = kDefaultLimit);

    // A change is about to be written into current: keep it as it is now. Forgets the redo steps;
    // beyond the limit the oldest step goes.
    void Push(const CLENIProject& current);
    bool CanUndo() const { return !m_Undo.empty(); }
    bool CanRedo() const { return !m_Redo.empty(); }
    size_t GetUndoCount() const { return m_Undo.size(); }
    size_t GetRedoCount() const { return m_Redo.size(); }
    // current goes back one step (or forward one); false when there is none.
    bool Undo(CLENIProject& current);
    bool Redo(CLENIProject& current);

    // Forgets every step. currentIsSaved: the project as it is now is the one on disk.
    void Clear(bool currentIsSaved);
    // The project as it is now was written to its file.
    void MarkSaved() { m_lSaved = m_lVersion; }
    // Whether the project is, step for step, the one last saved.
    bool IsAtSavedState() const { return m_lVersion == m_lSaved; }

  private:
    struct Step {
        CLENIProject project;
        long version;
    };
    std::deque<Step> m_Undo;
    std::vector<Step> m_Redo;
    size_t m_Limit;
    long m_lVersion = 0; // of the current project
    long m_lNext = 1;    // version of the next change
    long m_lSaved = 0;   // version on disk; -1 when none of the kept ones is
};
