// The caret and the selection: movement keys, clicks, programmed moves,
// word selection and Select All, over lines of different widths and tabs.
#include "edit_table.h"

namespace edit_table {
namespace {

const Row kMoves[] = {
    {.name = "LeftAtALineStartGoesToTheEndAbove",
     .file = "ab\ncd", .caret = {1, 0},
     .steps = {Left},
     .lines = {"ab", "cd"}, .after = {0, 2}},
    {.name = "RightAtALineEndGoesToTheStartBelow",
     .file = "ab\ncd", .caret = {0, 2},
     .steps = {Right},
     .lines = {"ab", "cd"}, .after = {1, 0}},
    {.name = "LeftAtTheDocumentStartStays",
     .file = "ab\ncd",
     .steps = {Left, Up},
     .lines = {"ab", "cd"}, .after = {0, 0}},
    {.name = "RightAtTheDocumentEndStays",
     .file = "ab\ncd", .caret = {1, 2},
     .steps = {Right, Down},
     .lines = {"ab", "cd"}, .after = {1, 2}},
    {.name = "DownToAShorterLineStopsAtItsEnd",
     .file = "abcdef\nab\nabcdef", .caret = {0, 5},
     .steps = {Down},
     .lines = {"abcdef", "ab", "abcdef"}, .after = {1, 2}},
    {.name = "DownIntoATabGoesPastIt",
     .file = "abcdef\n\tx", .caret = {0, 2},
     .steps = {Down},
     .lines = {"abcdef", "\tx"}, .after = {1, 4}},
    {.name = "RightAndLeftStepOverATabWhole",
     .file = "\tx",
     .steps = {Right, Right, Left, Left},
     .lines = {"\tx"}, .after = {0, 0}},
    {.name = "RightOverATab",
     .file = "\tx",
     .steps = {Right},
     .lines = {"\tx"}, .after = {0, 4}},
    {.name = "HomeAndEnd",
     .file = "  abc\n", .caret = {0, 2},
     .steps = {End},
     .lines = {"  abc"}, .after = {0, 5}},
    {.name = "HomeGoesToColumnZero",
     .file = "  abc\n", .caret = {0, 4},
     .steps = {Home},
     .lines = {"  abc"}, .after = {0, 0}},
    {.name = "CtrlEndGoesToTheEndOfTheLastLine",
     .file = "ab\ncd\nef", .caret = {1, 1},
     .steps = {CtrlEnd},
     .lines = {"ab", "cd", "ef"}, .after = {2, 2}},
    {.name = "CtrlHomeGoesToTheStart",
     .file = "ab\ncd\nef", .caret = {2, 1},
     .steps = {CtrlHome},
     .lines = {"ab", "cd", "ef"}, .after = {0, 0}},

    // With Shift the selection follows the caret; without, it collapses.
    {.name = "ShiftRightSelects",
     .file = "abcdef",
     .steps = {Shift(Right), Shift(Right)},
     .lines = {"abcdef"}, .after = {0, 2}, .selected = Selection{{0, 0}, {0, 2}}},
    {.name = "ShiftLeftShrinksTheSelection",
     .file = "abcdef",
     .steps = {Shift(Right), Shift(Right), Shift(Right), Shift(Left)},
     .lines = {"abcdef"}, .after = {0, 2}, .selected = Selection{{0, 0}, {0, 2}}},
    {.name = "AMoveWithoutShiftEndsTheSelection",
     .file = "abcdef",
     .steps = {Shift(Right), Shift(Right), Left},
     .lines = {"abcdef"}, .after = {0, 1}},
    {.name = "ShiftDownSelectsOverLines",
     .file = "abc\ndef", .caret = {0, 1},
     .steps = {Shift(Down)},
     .lines = {"abc", "def"}, .after = {1, 1}, .selected = Selection{{0, 1}, {1, 1}}},
    {.name = "ShiftUpSelectsBackwards",
     .file = "abc\ndef", .caret = {1, 2},
     .steps = {Shift(Up), Shift(Home)},
     .lines = {"abc", "def"}, .after = {0, 0}, .selected = Selection{{1, 2}, {0, 0}}},
    {.name = "AShiftMoveThatCannotGoKeepsTheSelection",
     .file = "abc", .caret = {0, 1},
     .steps = {Shift(End), Shift(Right)},
     .lines = {"abc"}, .after = {0, 3}, .selected = Selection{{0, 1}, {0, 3}}},

    // Clicks: the caret snaps to a character; a click on the caret's own
    // place keeps the selection, a programmed move always ends it.
    {.name = "AClickAtTheCaretKeepsTheSelection",
     .file = "abcdef",
     .steps = {Shift(Right), Shift(Right), Click({0, 2})},
     .lines = {"abcdef"}, .after = {0, 2}, .selected = Selection{{0, 0}, {0, 2}}},
    {.name = "AClickElsewhereEndsTheSelection",
     .file = "abcdef",
     .steps = {Shift(Right), Shift(Right), Click({0, 4})},
     .lines = {"abcdef"}, .after = {0, 4}},
    {.name = "AShiftClickExtends",
     .file = "abc\ndef",
     .steps = {Click({0, 1}), ShiftClick({1, 2})},
     .lines = {"abc", "def"}, .after = {1, 2}, .selected = Selection{{0, 1}, {1, 2}}},
    {.name = "AClickPastTheLineEndSnapsToIt",
     .file = "ab\ncd",
     .steps = {Click({0, 9})},
     .lines = {"ab", "cd"}, .after = {0, 2}},
    {.name = "AClickBelowTheLastLineGoesToIt",
     .file = "ab\ncd",
     .steps = {Click({7, 1})},
     .lines = {"ab", "cd"}, .after = {1, 1}},
    {.name = "AClickInsideATabGoesPastIt",
     .file = "\tx",
     .steps = {Click({0, 1})},
     .lines = {"\tx"}, .after = {0, 4}},
    {.name = "AProgrammedMoveOntoTheCaretEndsTheSelection",
     .file = "abcdef\n",
     .steps = {Shift(Right), MoveTo({0, 1}), Backspace},
     .lines = {"bcdef"}, .after = {0, 0}},
    {.name = "AProgrammedMovePastTheEndSnaps",
     .file = "abc\nd\n",
     .steps = {MoveTo({5, 5})},
     .lines = {"abc", "d"}, .after = {1, 1}},
};
INSTANTIATE_TEST_SUITE_P(Moves, EditTable, ::testing::ValuesIn(kMoves), RowName);

// A double click selects the word at or next to its place: runs of ASCII
// letters and digits.
const Row kWords[] = {
    {.name = "InsideAWord",
     .file = "x abc   def\n",
     .steps = {SelectWord({0, 3})},
     .lines = {"x abc   def"}, .after = {0, 5}, .selected = Selection{{0, 2}, {0, 5}}},
    {.name = "AtAWordsStart",
     .file = "x abc   def\n",
     .steps = {SelectWord({0, 8})},
     .lines = {"x abc   def"}, .after = {0, 11}, .selected = Selection{{0, 8}, {0, 11}}},
    {.name = "InBlanksAfterAWordTakesThatWord",
     .file = "x abc   def\n",
     .steps = {SelectWord({0, 6})},
     .lines = {"x abc   def"}, .after = {0, 5}, .selected = Selection{{0, 2}, {0, 5}}},
    {.name = "InBlanksBeforeTheFirstWordTakesIt",
     .file = "   abc\n",
     .steps = {SelectWord({0, 1})},
     .lines = {"   abc"}, .after = {0, 6}, .selected = Selection{{0, 3}, {0, 6}}},
    {.name = "ALineOfBlanksSelectsNothing",
     .file = "      \n",
     .steps = {SelectWord({0, 2})},
     .lines = {"      "}, .after = {0, 0}},
    {.name = "AfterATab",
     .file = "\tabc\n",
     .steps = {SelectWord({0, 5})},
     .lines = {"\tabc"}, .after = {0, 7}, .selected = Selection{{0, 4}, {0, 7}}},
    {.name = "DigitsArePartOfAWordAndUnderscoresAreNot",
     .file = "a1_b2\n",
     .steps = {SelectWord({0, 0})},
     .lines = {"a1_b2"}, .after = {0, 2}, .selected = Selection{{0, 0}, {0, 2}}},
    {.name = "TypingReplacesTheWord",
     .file = "x abc   def\n",
     .steps = {SelectWord({0, 3}), Type("Q")},
     .lines = {"x Q   def"}, .after = {0, 3}},
    {.name = "SelectAll",
     .file = "one\ntwo",
     .steps = {SelectAll},
     .lines = {"one", "two"}, .after = {1, 3}, .selected = Selection{{0, 0}, {1, 3}}},
    {.name = "SelectAllThenTyping",
     .file = "one\ntwo\n",
     .steps = {SelectAll, Type("x")},
     .lines = {"x"}, .after = {0, 1}, .undos = 2},
    {.name = "SelectAllOfAnEmptyFileSelectsNothing",
     .file = "",
     .steps = {SelectAll},
     .lines = {""}, .after = {0, 0}},
};
INSTANTIATE_TEST_SUITE_P(Words, EditTable, ::testing::ValuesIn(kWords), RowName);

// What painting and the find dialog read of a selection.
TEST(SelectionReading, ColumnsPerLineAndTheTextOfOneLine)
{
    Session session("abc\ndefgh\nij\n", TextEditor::kDefaultUndoLimit, true);
    CaretModel& caret = session.caret;
    caret.Select({0, 1}, {2, 1});
    int from = -1, to = -1;
    ASSERT_TRUE(caret.SelectedColumns(0, from, to));
    EXPECT_EQ(std::pair(from, to), std::pair(1, 3));
    ASSERT_TRUE(caret.SelectedColumns(1, from, to));
    EXPECT_EQ(std::pair(from, to), std::pair(0, 5));
    ASSERT_TRUE(caret.SelectedColumns(2, from, to));
    EXPECT_EQ(std::pair(from, to), std::pair(0, 1));
    EXPECT_FALSE(caret.SelectedColumns(3, from, to));
    EXPECT_EQ(caret.SingleLineSelection(), "");  // over several lines: none

    caret.Select({1, 4}, {1, 1});  // backwards
    EXPECT_EQ(caret.SingleLineSelection(), "efg");
    ASSERT_TRUE(caret.SelectedColumns(1, from, to));
    EXPECT_EQ(std::pair(from, to), std::pair(1, 4));
    EXPECT_FALSE(caret.SelectedColumns(0, from, to));

    Session tabs("key\tvalue\n", TextEditor::kDefaultUndoLimit, true);
    tabs.caret.Select({0, 0}, {0, 5});
    EXPECT_EQ(tabs.caret.SingleLineSelection(), "key\tv");
}

} // namespace
} // namespace edit_table
