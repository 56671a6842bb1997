// The list's position: undoing moves it back and keeps the record, so the
// record can be applied forward again; a new edit drops what lies after it.
#include <gtest/gtest.h>

#include "docs/undo_list.h"

#include <string>
#include <vector>

namespace {

void PushNumbered(CUndoList& list, int from, int to)
{
    for (int i = from; i <= to; ++i)
        list.Push(std::to_string(i), UndoKind::kInserted, {i, 0}, {i, 0}, {i, 1});
}

std::string TextOf(const CUndo* record)
{
    return record && record->text ? *record->text : "-";
}

// Moves: 'u' one back (undo), 'f' one forward, 'p' a new record, 's' saved.
struct PositionRow {
    const char* moves;
    int limit;
    int done;              // Count() afterwards
    int undone;            // UndoneCount() afterwards
    const char* newest;    // text of Newest(), "-" for none
    const char* next;      // text of NextUndone(), "-" for none
    int counter;           // ChangeCounter()
    bool saved;            // AtSavedState()
};

TEST(CUndoListPosition, MovesBackAndForwardOverTheRecordsItKeeps)
{
    const std::vector<PositionRow> rows = {
        {"ppp", 16, 3, 0, "3", "-", 3, false},
        {"pppuu", 16, 1, 2, "1", "2", 1, false},
        {"pppuuu", 16, 0, 3, "-", "1", 0, true},
        {"pppuuuf", 16, 1, 2, "1", "2", 1, false},
        {"pppuuff", 16, 3, 0, "3", "-", 3, false},
        {"pppuufff", 16, 3, 0, "3", "-", 3, false},  // nothing beyond the newest
        {"pppuup", 16, 2, 0, "4", "-", 2, false},    // a new edit drops the undone ones
        {"pppsuuf", 16, 2, 1, "2", "3", 2, false},
        {"pppsuuff", 16, 3, 0, "3", "-", 3, true},   // forward again onto the saved text
        {"pppsuup", 16, 2, 0, "4", "-", 2, false},   // the saved text dropped with its record
        {"psuuf", 16, 1, 0, "1", "-", 1, true},
        // At the limit the oldest goes; the undone ones went first.
        {"ppppuup", 3, 2, 0, "5", "-", 3, false},
        {"ppppuuuu", 3, 0, 3, "-", "2", 1, false},
        {"ppppuuuuff", 3, 2, 1, "3", "4", 3, false},
    };
    for (const PositionRow& row : rows) {
        SCOPED_TRACE(row.moves);
        CUndoList list(row.limit);
        int next = 1;
        for (const char* m = row.moves; *m; ++m) {
            if (*m == 'p') PushNumbered(list, next, next), ++next;
            if (*m == 'u') list.Pop();
            if (*m == 'f') list.StepForward();
            if (*m == 's') list.MarkSaved();
        }
        EXPECT_EQ(list.Count(), row.done);
        EXPECT_EQ(list.UndoneCount(), row.undone);
        EXPECT_EQ(TextOf(list.Newest()), row.newest);
        EXPECT_EQ(TextOf(list.NextUndone()), row.next);
        EXPECT_EQ(list.ChangeCounter(), row.counter);
        EXPECT_EQ(list.AtSavedState(), row.saved);
    }
}

TEST(CUndoListPosition, ALowerLimitDropsTheUndoneRecordsBeforeTheDoneOnes)
{
    CUndoList list(16);
    PushNumbered(list, 1, 6);
    list.Pop();
    list.Pop();  // 1..4 done, 5 and 6 undone
    list.SetLimit(5);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.UndoneCount(), 1);
    EXPECT_EQ(TextOf(list.NextUndone()), "5");
    list.SetLimit(2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.UndoneCount(), 0);
    EXPECT_EQ(TextOf(list.Newest()), "4");
    list.Pop();
    list.Pop();
    EXPECT_EQ(list.Newest(), nullptr);
    EXPECT_FALSE(list.AtSavedState());  // the loaded text lay below a dropped record
}

} // namespace
