// Undo and redo of project changes: the order of the steps, the limit, and the saved state.

#include "app/UndoStack.h"

#include <gtest/gtest.h>

namespace {

// A project told apart by its description.
CLENIProject Version(const std::string& text) {
    CLENIProject project;
    project.SetDescription(text);
    return project;
}

TEST(UndoStackTest, UndoAndRedoWalkTheStepsAndANewChangeForgetsTheRedoSteps) {
    CUndoStack undo;
    CLENIProject current = Version("a");
    for (const char* next : {"b", "c", "d"}) {
        undo.Push(current);
        current = Version(next);
    }
    EXPECT_EQ(undo.GetUndoCount(), 3u);
    ASSERT_TRUE(undo.Undo(current));
    EXPECT_EQ(current.GetDescription(), "c");
    ASSERT_TRUE(undo.Undo(current));
    EXPECT_EQ(current.GetDescription(), "b");
    ASSERT_TRUE(undo.Redo(current));
    EXPECT_EQ(current.GetDescription(), "c");
    EXPECT_TRUE(undo.CanRedo());

    undo.Push(current);
    current = Version("e");
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_FALSE(undo.Redo(current));
    EXPECT_EQ(current.GetDescription(), "e");
    for (const char* expected : {"c", "b", "a"}) {
        ASSERT_TRUE(undo.Undo(current));
        EXPECT_EQ(current.GetDescription(), expected);
    }
    EXPECT_FALSE(undo.Undo(current));
    EXPECT_EQ(current.GetDescription(), "a");
}

TEST(UndoStackTest, KeepsAtLeastFiftyStepsAndDropsTheOldestBeyondItsLimit) {
    CUndoStack undo;
    CLENIProject current = Version("0");
    for (int i = 1; i <= 60; ++i) {
        undo.Push(current);
        current = Version(std::to_string(i));
    }
    EXPECT_EQ(undo.GetUndoCount(), 60u);
    while (undo.Undo(current)) {
    }
    EXPECT_EQ(current.GetDescription(), "0");

    CUndoStack small(3);
    current = Version("0");
    for (int i = 1; i <= 5; ++i) {
        small.Push(current);
        current = Version(std::to_string(i));
    }
    while (small.Undo(current)) {
    }
    EXPECT_EQ(current.GetDescription(), "2");
}

TEST(UndoStackTest, KnowsWhenTheProjectIsBackAtItsSavedState) {
    CUndoStack undo;
    CLENIProject current = Version("saved");
    undo.Clear(true);
    EXPECT_TRUE(undo.IsAtSavedState());
    undo.Push(current);
    current = Version("changed");
    EXPECT_FALSE(undo.IsAtSavedState());
    undo.Undo(current);
    EXPECT_TRUE(undo.IsAtSavedState());
    undo.Redo(current);
    EXPECT_FALSE(undo.IsAtSavedState());

    // Saved after the change: going back is a change again.
    undo.MarkSaved();
    undo.Undo(current);
    EXPECT_FALSE(undo.IsAtSavedState());
    undo.Redo(current);
    EXPECT_TRUE(undo.IsAtSavedState());

    // A project never saved is never at its saved state, however far back.
    undo.Clear(false);
    undo.Push(current);
    current = Version("more");
    undo.Undo(current);
    EXPECT_FALSE(undo.IsAtSavedState());
}

} // namespace
