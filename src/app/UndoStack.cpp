#include "app/UndoStack.h"

#include <utility>

CUndoStack::CUndoStack(size_t limit) : m_Limit(limit < 1 ? 1 : limit) {}

void CUndoStack::Push(const CLENIProject& current) {
    m_Undo.push_back(Step{current, m_lVersion});
    if (m_Undo.size() > m_Limit) m_Undo.pop_front();
    m_Redo.clear();
    m_lVersion = m_lNext++;
}

bool CUndoStack::Undo(CLENIProject& current) {
    if (m_Undo.empty()) return false;
    Step step = std::move(m_Undo.back());
    m_Undo.pop_back();
    m_Redo.push_back(Step{std::move(current), m_lVersion});
    current = std::move(step.project);
    m_lVersion = step.version;
    return true;
}

bool CUndoStack::Redo(CLENIProject& current) {
    if (m_Redo.empty()) return false;
    Step step = std::move(m_Redo.back());
    m_Redo.pop_back();
    m_Undo.push_back(Step{std::move(current), m_lVersion});
    current = std::move(step.project);
    m_lVersion = step.version;
    return true;
}

void CUndoStack::Clear(bool currentIsSaved) {
    m_Undo.clear();
    m_Redo.clear();
    m_lVersion = m_lNext++;
    m_lSaved = currentIsSaved ? m_lVersion : -1;
}
