// Typing, Delete, Backspace and a paste on a long line fresh from a file,
// which the first keystroke edits where the load put it: the text, the
// caret, what Undo gives back and the bytes a Save writes, with either line
// end and without one.
#include "edit_table.h"

namespace edit_table {
namespace {

// Long enough to be edited in place (over 64 kB), in two halves that show
// where an edit landed.
const std::string kHalf(33000, 'a');
const std::string kOther(33000, 'b');
const std::string kLine = kHalf + kOther;
const std::string kCrLf = kLine + "\r\n";
const std::string kLf = kLine + "\n";

const Row kLongLine[] = {
    {.name = "TypeInTheMiddle",
     .file = kCrLf, .caret = {0, 33000},
     .steps = {Type("q"), Save},
     .lines = {kHalf + "q" + kOther}, .after = {0, 33001}, .undos = 1, .saved = kHalf + "q" + kOther + "\r\n"},
    {.name = "TypeACharacterAtTheEndOfALastLineWithoutALineEnd",
     .file = kLine, .caret = {0, 66000},
     .steps = {Type("\xC3\xA9"), Type("\xE4\xB8\xAD")},
     .lines = {kLine + "\xC3\xA9\xE4\xB8\xAD"}, .after = {0, 66003}},
    {.name = "TypeAtTheStart",
     .file = kLf,
     .steps = {Type("\t"), End},
     .lines = {"\t" + kLine}, .after = {0, 66004}},
    {.name = "BackspaceInTheMiddle",
     .file = kLf, .caret = {0, 33000},
     .steps = {Backspace, Save},
     .lines = {kHalf.substr(1) + kOther}, .after = {0, 32999}, .saved = kHalf.substr(1) + kOther + "\n"},
    {.name = "DeleteAtTheStart",
     .file = kCrLf,
     .steps = {Delete},
     .lines = {kLine.substr(1)}, .after = {0, 0}},
    {.name = "DeleteTheLastCharacter",
     .file = kLine, .caret = {0, 65999},
     .steps = {Delete},
     .lines = {kLine.substr(0, 65999)}, .after = {0, 65999}},
    {.name = "PasteAWordInTheMiddle",
     .file = kCrLf, .caret = {0, 33000},
     .steps = {Paste("word")},
     .lines = {kHalf + "word" + kOther}, .after = {0, 33004}},
    {.name = "UndoGivesBackTheFileBytes",
     .file = kLf, .caret = {0, 33000},
     .steps = {Type("q"), Backspace, Backspace, Type("\xC3\xA9"), Delete, Paste("xy"), UndoAll, Save},
     .lines = {kLine}, .after = {0, 33000}, .undos = 0, .modified = false, .saved = kLf},
};

INSTANTIATE_TEST_SUITE_P(LongLine, EditTable, ::testing::ValuesIn(kLongLine), RowName);

} // namespace
} // namespace edit_table
