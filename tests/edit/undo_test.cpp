// Undo of every kind of record, where it leaves the caret, the modified
// flag against the text last saved, and the undo limit.
#include "edit_table.h"

namespace edit_table {
namespace {

const Row kUndo[] = {
    {.name = "TypingUndoneClearsTheModifiedFlag",
     .file = "abc\n",
     .steps = {Type("x"), Undo},
     .lines = {"abc"}, .after = {0, 0}, .undos = 0, .modified = false},
    {.name = "UndoWithNothingToUndo",
     .file = "abc\n", .caret = {0, 2},
     .steps = {Undo},
     .lines = {"abc"}, .after = {0, 2}, .undos = 0, .modified = false},
    {.name = "UndoOfEnterTakesTheIndentAway",
     .file = "    abc\n", .caret = {0, 6},
     .steps = {Enter, Undo},
     .lines = {"    abc"}, .after = {0, 6}, .undos = 0},
    {.name = "UndoOfAJoinSplitsAtTheSameColumnWithoutIndent",
     .file = "    ab\n    cd\n", .caret = {1, 0},
     .steps = {Backspace, Undo},
     .lines = {"    ab", "    cd"}, .after = {1, 0}, .undos = 0, .modified = false},
    {.name = "UndoOfADeleteJoinSplitsAgain",
     .file = "ab\ncd\n", .caret = {0, 2},
     .steps = {Delete, Undo},
     .lines = {"ab", "cd"}, .after = {1, 0}, .undos = 0},
    {.name = "UndoOfADeletedCharacterSelectsIt",
     .file = "abc\n", .caret = {0, 1},
     .steps = {Delete, Undo},
     .lines = {"abc"}, .after = {0, 2}, .selected = Selection{{0, 1}, {0, 2}}},
    {.name = "UndoOfABackspacedTabSelectsIt",
     .file = "a\tb\n", .caret = {0, 4},
     .steps = {Backspace, Undo},
     .lines = {"a\tb"}, .after = {0, 4}, .selected = Selection{{0, 1}, {0, 4}}},
    {.name = "UndoOfADeletedSelectionSelectsItAgain",
     .file = "abc\ndef\n", .caret = {0, 1}, .select_to = TextPosition{1, 2},
     .steps = {Delete, Undo},
     .lines = {"abc", "def"}, .after = {1, 2}, .selected = Selection{{0, 1}, {1, 2}}},
    {.name = "UndoOfDeletedWholeLinesAddsNoLine",
     .file = "a\nb\nc\n",
     .steps = {Shift(Down), Shift(End), Delete, Undo},
     .lines = {"a", "b", "c"}, .after = {1, 1}, .selected = Selection{{0, 0}, {1, 1}}},
    {.name = "UndoOfAPasteRemovesIt",
     .file = "ab\n", .caret = {0, 1},
     .steps = {Paste("X\r\nY\rZ"), Undo},
     .lines = {"ab"}, .after = {0, 1}, .undos = 0},
    {.name = "UndoOfAnOverwrite",
     .file = "abc\n", .caret = {0, 1},
     .steps = {Overwrite, Type("X"), Undo},
     .lines = {"abc"}, .after = {0, 1}, .undos = 0, .modified = false},
    {.name = "EveryEditIsUndoneInTurn",
     .file = "    first\nsecond\nthird\n", .caret = {0, 7},
     .steps = {Enter, Type("a"), Type("b"), Backspace, MoveTo({2, 0}), Backspace, Overwrite, Type("Z"),
               Overwrite, MoveTo({0, 0}), Shift(Down), Delete},
     .lines = {"    astZecond", "third"}, .after = {0, 0}, .undos = 7},
    {.name = "EveryEditIsUndoneInTurnBackToTheFile",
     .file = "    first\nsecond\nthird\n", .caret = {0, 7},
     .steps = {Enter, Type("a"), Type("b"), Backspace, MoveTo({2, 0}), Backspace, Overwrite, Type("Z"),
               Overwrite, MoveTo({0, 0}), Shift(Down), Delete, UndoAll},
     .lines = {"    first", "second", "third"}, .after = {0, 7}, .undos = 0, .modified = false,
     .saved = "    first\nsecond\nthird\n"},
};
INSTANTIATE_TEST_SUITE_P(Undo, EditTable, ::testing::ValuesIn(kUndo), RowName);

// A record names the bytes it changed: a change of the tab width between
// an edit and its undo, a character of no width, or bytes that read as one
// character once the bytes between them are gone cannot make an undo take
// out or put back other bytes. The caret lands where the bytes now show.
const Row kUndoByBytes[] = {
    {.name = "TypingUndoneAfterTheTabsWidened",
     .file = "\tab\n", .caret = {0, 4},
     .steps = {Type("X"), TabWidth(8), Undo},
     .lines = {"\tab"}, .after = {0, 8}, .undos = 0, .modified = false, .saved = "\tab\n"},
    {.name = "TypingUndoneAfterTheTabsNarrowed",
     .file = "\t\tab\n", .caret = {0, 9},
     .steps = {Type("X"), TabWidth(2), Undo},
     .lines = {"\t\tab"}, .after = {0, 5}, .undos = 0, .modified = false},
    {.name = "PasteUndoneAfterTheTabsWidened",
     .file = "\tab\n", .caret = {0, 5},
     .steps = {Paste("1\n2\t3"), TabWidth(8), Undo},
     .lines = {"\tab"}, .after = {0, 9}, .undos = 0, .modified = false},
    {.name = "DeletedSelectionPutBackAfterTheTabsWidened",
     .file = "\tabc\n\tdef\n", .caret = {0, 5}, .select_to = TextPosition{1, 5},
     .steps = {Delete, TabWidth(8), Undo},
     .lines = {"\tabc", "\tdef"}, .after = {1, 9}, .selected = Selection{{0, 9}, {1, 9}}, .modified = false},
    {.name = "EnterUndoneAfterTheTabsWidened",
     .file = "\tab\n", .caret = {0, 5},
     .steps = {Enter, TabWidth(8), Undo},
     .lines = {"\tab"}, .after = {0, 9}, .undos = 0, .modified = false},
    {.name = "ACombiningMarkTypedIsUndone",
     .file = "e\n", .caret = {0, 1},
     .steps = {Type("\xcc\x81"), Undo},
     .lines = {"e"}, .after = {0, 1}, .undos = 0, .modified = false, .saved = "e\n"},
    {.name = "AZeroWidthSpaceTypedIsUndone",
     .file = "ab\n", .caret = {0, 1},
     .steps = {Type("\xe2\x80\x8b"), Undo},
     .lines = {"ab"}, .after = {0, 1}, .undos = 0, .modified = false},
    {.name = "MarksTypedInTurnAreUndoneInTurn",
     .file = "a\n", .caret = {0, 1},
     .steps = {Type("\xcc\x81"), Type("\xcc\xa3"), Undo},
     .lines = {"a\xcc\x81"}, .after = {0, 1}, .undos = 1, .modified = true},
    {.name = "ADeleteBetweenInvalidBytesPutsTheByteBackBetweenThem",
     .file = "\xc3" "A\xa9\n", .caret = {0, 1},
     .steps = {Delete, Undo},
     .lines = {"\xc3" "A\xa9"}, .after = {0, 2}, .selected = Selection{{0, 1}, {0, 2}}, .modified = false,
     .saved = "\xc3" "A\xa9\n"},
    {.name = "ABackspaceBetweenInvalidBytesPutsTheByteBackBetweenThem",
     .file = "\xc3" "A\xa9\n", .caret = {0, 2},
     .steps = {Backspace, Undo},
     .lines = {"\xc3" "A\xa9"}, .after = {0, 2}, .selected = Selection{{0, 1}, {0, 2}}, .modified = false},
    {.name = "BytesThatMergedStayModifiedUntilUndone",
     .file = "\xc3" "A\xa9\n", .caret = {0, 1},
     .steps = {Delete},
     .lines = {"\xc3\xa9"}, .after = {0, 1}, .undos = 1, .modified = true, .saved = "\xc3\xa9\n"},
};
INSTANTIATE_TEST_SUITE_P(UndoByBytes, EditTable, ::testing::ValuesIn(kUndoByBytes), RowName);

// The modified flag says whether the text differs from the file: undoing
// back to the text last saved clears it, past it sets it, and an edit made
// below the saved point makes that text unreachable.
const Row kSavedState[] = {
    {.name = "UndoBackToTheSavedText",
     .file = "x\r\n",
     .steps = {Type("a"), Type("b"), Save, Type("c"), Undo},
     .lines = {"abx"}, .after = {0, 2}, .undos = 2, .modified = false},
    {.name = "UndoPastTheSavedText",
     .file = "x\r\n",
     .steps = {Type("a"), Type("b"), Save, Type("c"), Undos(2)},
     .lines = {"ax"}, .after = {0, 1}, .modified = true},
    {.name = "UndoToTheLoadedTextAfterASave",
     .file = "x\r\n",
     .steps = {Type("a"), Type("b"), Save, UndoAll},
     .lines = {"x"}, .after = {0, 0}, .undos = 0, .modified = true, .saved = "x\r\n"},
    {.name = "UndoOfEverythingTypedBeforeASave",
     .file = "text\r\n",
     .steps = {Type("E"), Type("D"), Type("I"), Type("T"), Save, Undos(4)},
     .lines = {"text"}, .after = {0, 0}, .modified = true},
    {.name = "AnEditBelowTheSavedPointWithTheSameCount",
     .file = "x\r\n",
     .steps = {Type("a"), Type("b"), Save, Undo, Type("q")},
     .lines = {"aqx"}, .after = {0, 2}, .undos = 2, .modified = true},
    {.name = "AnEditBelowTheSavedPointNeverClearsTheFlag",
     .file = "x\r\n",
     .steps = {Type("a"), Type("b"), Save, Undo, Type("q"), Type("r"), Undo},
     .lines = {"aqx"}, .after = {0, 2}, .modified = true},
    {.name = "NorDoesUndoingEverything",
     .file = "x\r\n",
     .steps = {Type("a"), Type("b"), Save, Undo, Type("q"), UndoAll},
     .lines = {"x"}, .after = {0, 0}, .modified = true},
    {.name = "ASecondSaveIsTheNewPoint",
     .file = "x\r\n",
     .steps = {Type("a"), Save, Type("b"), Save, Undo, Type("b")},
     .lines = {"abx"}, .after = {0, 2}, .modified = true, .saved = "abx\r\n"},
};
INSTANTIATE_TEST_SUITE_P(SavedState, EditTable, ::testing::ValuesIn(kSavedState), RowName);

// At the limit the oldest record goes: the text it would give back can no
// longer come back, so the document stays modified.
const Row kLimit[] = {
    {.name = "ALimitOfNoneKeepsOneRecord",
     .file = "abc\n",
     .steps = {Type("x"), Type("y"), Undo},
     .lines = {"xabc"}, .after = {0, 1}, .undos = 0, .modified = true, .undo_limit = 0},
    {.name = "ThreeOfFiveTypedKeysAreUndone",
     .file = "abc\n",
     .steps = {Type("1"), Type("2"), Type("3"), Type("4"), Type("5"), UndoAll},
     .lines = {"12abc"}, .after = {0, 2}, .undos = 0, .modified = true, .undo_limit = 3},
    {.name = "ADroppedSavedPointIsNeverReachedAgain",
     .file = "abc\n",
     .steps = {Save, Type("1"), Type("2"), Type("3"), UndoAll},
     .lines = {"1abc"}, .after = {0, 1}, .modified = true, .undo_limit = 2},
    {.name = "TheDefaultLimitIsSixteen",
     .file = "",
     .steps = {Type("a"), Type("b"), Type("c"), Type("d"), Type("e"), Type("f"), Type("g"), Type("h"),
               Type("i"), Type("j"), Type("k"), Type("l"), Type("m"), Type("n"), Type("o"), Type("p"),
               Type("q"), UndoAll},
     .lines = {"a"}, .after = {0, 1}, .undos = 0, .modified = true},
    {.name = "ALimitAboveTheHighestIsTheHighest",
     .file = "",
     .steps = {Type("a")},
     .lines = {"a"}, .after = {0, 1}, .undos = 1, .undo_limit = 100000},
};
INSTANTIATE_TEST_SUITE_P(Limit, EditTable, ::testing::ValuesIn(kLimit), RowName);

TEST(UndoLimit, IsClampedToItsRange)
{
    Session low("", 0, true);
    EXPECT_EQ(low.editor.Undos().Limit(), CUndoList::kMinLimit);
    Session high("", 100000, true);
    EXPECT_EQ(high.editor.Undos().Limit(), CUndoList::kMaxLimit);
}

} // namespace
} // namespace edit_table
