// Enter and the joins of Backspace and Delete on lines whose halves differ
// in length, so that either half may be the one that keeps its bytes in
// place: the text, the caret's column at the line's end (its width), what
// Undo gives back and the bytes a Save writes, with either line end.
#include "edit_table.h"

namespace edit_table {
namespace {

// Forty characters, longer than any other piece of the rows below.
#define LONG "0123456789abcdefghijklmnopqrstuvwxyzABCD"
#define HEAD20 "0123456789abcdefghij"
#define TAIL20 "klmnopqrstuvwxyzABCD"

const Row kSplitJoin[] = {
    {.name = "EnterNearTheStartOfALongLine",
     .file = "ab" LONG "\r\n", .caret = {0, 2},
     .steps = {Enter, End, Save},
     .lines = {"ab", LONG}, .after = {1, 40}, .undos = 1, .saved = "ab\r\n" LONG "\r\n"},
    {.name = "EnterNearTheEndOfALongLine",
     .file = LONG "yz\n", .caret = {0, 40},
     .steps = {Enter, End, Save},
     .lines = {LONG, "yz"}, .after = {1, 2}, .saved = LONG "\nyz\n"},
    {.name = "EnterAtTheStartOfALongLine",
     .file = LONG "\n",
     .steps = {Enter, Save},
     .lines = {"", LONG}, .after = {1, 0}, .saved = "\n" LONG "\n"},
    {.name = "EnterBetweenTwoByteCharacters",
     .file = "\xC3\xA9\xC3\xA9\xC3\xA9\r\n", .caret = {0, 2},
     .steps = {Enter, End, Save},
     .lines = {"\xC3\xA9\xC3\xA9", "\xC3\xA9"}, .after = {1, 1}, .saved = "\xC3\xA9\xC3\xA9\r\n\xC3\xA9\r\n"},
    {.name = "EnterOnAColumnInsideAWideCharacterSplitsAfterIt",
     .file = "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\n", .caret = {0, 1},
     .steps = {Enter, End},
     .lines = {"\xE4\xB8\xAD", "\xE4\xB8\xAD\xE4\xB8\xAD"}, .after = {1, 4}},
    {.name = "EnterBetweenTabsMeasuresBothHalves",
     .file = "a\tbc\tdef\n", .caret = {0, 5},
     .steps = {Enter, End, Up, End},
     .lines = {"a\tb", "c\tdef"}, .after = {0, 5}},
    {.name = "UndoOfEnterWithAnIndentGivesBackTheBytes",
     .file = "\t" LONG "\r\n", .caret = {0, 14},
     .steps = {Enter, Undo, End, Save},
     .lines = {"\t" LONG}, .after = {0, 44}, .undos = 0, .modified = false, .saved = "\t" LONG "\r\n"},
    {.name = "EnterWithAnIndentThenBackspaceKeepsTheIndent",
     .file = "  " LONG "\n", .caret = {0, 12},
     .steps = {Enter, Backspace, Backspace, Backspace, End},
     .lines = {"  0123456789abcdefghijklmnopqrstuvwxyzABCD"}, .after = {0, 42}},
    {.name = "BackspaceJoinWhenTheFirstLineIsLonger",
     .file = LONG "\nab\n", .caret = {1, 0},
     .steps = {Backspace, End, Save},
     .lines = {LONG "ab"}, .after = {0, 42}, .undos = 1, .saved = LONG "ab\n"},
    {.name = "BackspaceJoinWhenTheSecondLineIsLonger",
     .file = "ab\r\n" LONG "\r\n", .caret = {1, 0},
     .steps = {Backspace, End, Save},
     .lines = {"ab" LONG}, .after = {0, 42}, .saved = "ab" LONG "\r\n"},
    {.name = "BackspaceJoinMovesTheTabStopsOfTheSecondLine",
     .file = "abc\n\tx\n", .caret = {1, 0},
     .steps = {Backspace, End},
     .lines = {"abc\tx"}, .after = {0, 5}},
    {.name = "BackspaceJoinOfTwoHalvesOfACharacterMeasuresItWhole",
     .file = "a\xC3\n\xA9z\n", .caret = {1, 0},
     .steps = {Backspace, End},
     .lines = {"a\xC3\xA9z"}, .after = {0, 3}},
    {.name = "UndoOfAJoinBeforeACombiningMarkSplitsBeforeTheMark",
     .file = "e\n\xCC\x81x\n", .caret = {0, 1},
     .steps = {Delete, End, Undo, Save},
     .lines = {"e", "\xCC\x81x"}, .after = {1, 0}, .modified = false, .saved = "e\n\xCC\x81x\n"},
    {.name = "DeleteJoinAtTheEndOfALongLine",
     .file = LONG "\r\ntail\r\n", .caret = {0, 40},
     .steps = {Delete, End, Save},
     .lines = {LONG "tail"}, .after = {0, 44}, .saved = LONG "tail\r\n"},
    {.name = "UndoOfTheJoinSplitsAgain",
     .file = "ab\n" LONG "\n", .caret = {1, 0},
     .steps = {Backspace, Undo, Save},
     .lines = {"ab", LONG}, .after = {1, 0}, .undos = 0, .modified = false, .saved = "ab\n" LONG "\n"},
    {.name = "JoinAfterTypingIntoTheSecondHalf",
     .file = LONG "\n", .caret = {0, 20},
     .steps = {Enter, Type("x"), Home, Backspace, End, Save},
     .lines = {HEAD20 "x" TAIL20}, .after = {0, 41}, .undos = 3, .saved = HEAD20 "x" TAIL20 "\n"},
    {.name = "JoinAfterTypingIntoTheFirstHalf",
     .file = LONG "\r\n", .caret = {0, 20},
     .steps = {Enter, MoveTo({0, 20}), Type("yy"), MoveTo({1, 0}), Backspace, End, Save},
     .lines = {HEAD20 "yy" TAIL20}, .after = {0, 42}, .saved = HEAD20 "yy" TAIL20 "\r\n"},
    {.name = "EnterAndJoinInTurnThenUndoAll",
     .file = LONG "\n", .caret = {0, 30},
     .steps = {Enter, Backspace, MoveTo({0, 5}), Enter, Backspace, MoveTo({0, 35}), Enter, UndoAll, Save},
     .lines = {LONG}, .after = {0, 30}, .undos = 0, .modified = false, .saved = LONG "\n"},
};
INSTANTIATE_TEST_SUITE_P(SplitJoin, EditTable, ::testing::ValuesIn(kSplitJoin), RowName);

#undef LONG
#undef HEAD20
#undef TAIL20

} // namespace
} // namespace edit_table
