#include <gtest/gtest.h>

#include "docs/undo_list.h"

namespace {

void PushNumbered(CUndoList& list, int from, int to)
{
    for (int i = from; i <= to; ++i)
        list.Push(std::to_string(i), undo_kind::kInserted, {i, 0}, {i, 0}, {i, 1});
}

} // namespace

TEST(CUndoList, LimitIsClamped)
{
    EXPECT_EQ(CUndoList(0).Limit(), 1);
    EXPECT_EQ(CUndoList(-3).Limit(), 1);
    EXPECT_EQ(CUndoList(1000).Limit(), 512);
    EXPECT_EQ(CUndoList(16).Limit(), 16);
}

TEST(CUndoList, PushPopAndTheChangeCounter)
{
    CUndoList list(16);
    EXPECT_EQ(list.Newest(), nullptr);
    list.Pop();  // nothing happens on an empty list
    EXPECT_EQ(list.ChangeCounter(), 0);

    list.Push("ab", undo_kind::kDeleted, {1, 2}, {1, 2}, {1, 4});
    const CUndo* record = list.Newest();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(*record->text, "ab");
    EXPECT_EQ(record->kind, undo_kind::kDeleted);
    EXPECT_EQ(record->Caret(), (TextPosition{1, 2}));
    EXPECT_EQ(record->End(), (TextPosition{1, 4}));

    list.PushBlock(std::string(100000, 'x'), undo_kind::kDeleted, {0, 0}, {0, 0}, {9, 0});
    EXPECT_EQ(list.Newest()->text->size(), 100000u);
    EXPECT_EQ(list.ChangeCounter(), 2);
    list.Pop();
    EXPECT_EQ(*list.Newest()->text, "ab");
    list.Pop();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.ChangeCounter(), 0);
}

TEST(CUndoList, FullListDropsTheOldestButKeepsCounting)
{
    CUndoList list(1);
    PushNumbered(list, 1, 2);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(*list.Newest()->text, "2");
    list.Pop();
    // Undoing the only record left does not bring the counter back to 0:
    // the document stays modified.
    EXPECT_EQ(list.ChangeCounter(), 1);

    CUndoList three(3);
    PushNumbered(three, 1, 5);
    EXPECT_EQ(three.Count(), 3);
    EXPECT_EQ(three.ChangeCounter(), 5);
    for (const char* expected : {"5", "4", "3"}) {
        EXPECT_EQ(*three.Newest()->text, expected);
        three.Pop();
    }
    EXPECT_EQ(three.Newest(), nullptr);
}

TEST(CUndoList, SetLimitKeepsTheNewest)
{
    CUndoList list(16);
    PushNumbered(list, 1, 10);
    list.SetLimit(4);
    EXPECT_EQ(list.Limit(), 4);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.ChangeCounter(), 10);
    EXPECT_EQ(*list.Newest()->text, "10");
    PushNumbered(list, 11, 11);
    EXPECT_EQ(list.Count(), 4);
    for (const char* expected : {"11", "10", "9", "8"}) {
        EXPECT_EQ(*list.Newest()->text, expected);
        list.Pop();
    }
    list.SetLimit(9999);
    EXPECT_EQ(list.Limit(), 512);
    list.SetLimit(0);
    EXPECT_EQ(list.Limit(), 1);
}
