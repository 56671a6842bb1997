#include <gtest/gtest.h>

#include "docs/undo_list.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

void PushNumbered(CUndoList& list, int from, int to)
{
    for (int i = from; i <= to; ++i)
        list.Push(std::to_string(i), UndoKind::kInserted, {i, 0}, {i, 0}, {i, 1});
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

    list.Push("ab", UndoKind::kDeleted, {1, 2}, {1, 2}, {1, 4});
    const CUndo* record = list.Newest();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(*record->text, "ab");
    EXPECT_EQ(record->kind, UndoKind::kDeleted);
    EXPECT_EQ(record->Caret(), (TextPlace{1, 2}));
    EXPECT_EQ(record->End(), (TextPlace{1, 4}));

    list.PushBlock(std::string(100000, 'x'), UndoKind::kDeleted, {0, 0}, {0, 0}, {9, 0});
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

TEST(CUndoList, TheSavedStateIsReachedOnlyByUndoingBackToIt)
{
    CUndoList list(16);
    EXPECT_TRUE(list.AtSavedState());  // as loaded
    PushNumbered(list, 1, 3);
    EXPECT_FALSE(list.AtSavedState());
    list.MarkSaved();
    EXPECT_TRUE(list.AtSavedState());
    PushNumbered(list, 4, 4);
    list.Pop();
    EXPECT_TRUE(list.AtSavedState());
    list.Pop();
    EXPECT_FALSE(list.AtSavedState());
    // A new edit below the saved point: the same count is another text.
    PushNumbered(list, 5, 5);
    EXPECT_EQ(list.ChangeCounter(), 3);
    EXPECT_FALSE(list.AtSavedState());
    list.Pop();
    list.Pop();
    EXPECT_FALSE(list.AtSavedState());
    // Saving again makes the current text the one to come back to.
    list.MarkSaved();
    PushNumbered(list, 6, 7);
    list.Pop();
    list.Pop();
    EXPECT_TRUE(list.AtSavedState());
}

TEST(CUndoList, ASavedStateWhoseRecordsWereDroppedIsNeverReachedAgain)
{
    CUndoList list(2);
    PushNumbered(list, 1, 3);  // the first record is dropped at the limit
    while (!list.Empty()) list.Pop();
    EXPECT_EQ(list.ChangeCounter(), 1);
    EXPECT_FALSE(list.AtSavedState());
}

TEST(ReplacementRecord, KeepsBothTextsApartWhateverBytesTheyHold)
{
    for (const auto& [replaced, replacement] : std::vector<std::pair<std::string, std::string>>{
             {"Cat", "dog"}, {"a\rb", "c"}, {"x\ty", "1\r1"}, {"", "new"}, {"old", ""}, {"12", "\r\r"}}) {
        const std::string text = ReplacementRecordText(replaced, replacement);
        const std::optional<ReplacementTexts> back = ParseReplacementRecord(text);
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(back->replaced, replaced);
        EXPECT_EQ(back->replacement, replacement);
    }
    for (const char* bad : {"", "abc", "\rabc", "x3\rabc", "9\rabc", "-1\rabc"})
        EXPECT_FALSE(ParseReplacementRecord(bad)) << bad;
}
