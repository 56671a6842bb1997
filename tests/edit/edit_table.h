#pragma once
// Data tables for the editing layer: each row loads a file's bytes into a
// text document, puts the caret (and a selection) somewhere, plays a list
// of steps the way a window would on keys and commands, and says what the
// text, the caret, the selection, the undo list, the modified flag and the
// saved file are afterwards. Every row is then played a second time and
// undone to the end, which must give back the loaded lines exactly.

#include "docs/text_doc.h"
#include "edit/caret_model.h"
#include "edit/find_replace_run.h"
#include "edit/text_editor.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace edit_table {

using Lines = std::vector<std::string>;

enum class Op {
    kType,
    kEnter,
    kBackspace,
    kDelete,
    kMove,
    kOverwrite,
    kPaste,
    kCopy,
    kCut,
    kClearAll,
    kUndo,
    kSelectAll,
    kSelectWord,
    kMoveTo,
    kClick,
    kSave,
    kTabWidth,
    kSearch,
};

struct Step {
    Op op{};
    std::string text{};        // typed or pasted bytes
    TextPosition at{};         // MoveTo, Click, SelectWord
    CaretMove move{};          // kMove
    bool shift = false;        // kMove, kClick: the selection follows the caret
    int count = 1;             // kUndo: how many (-1: all); kTabWidth: the width
    FindRequest find{};        // kSearch
    int stop_after = -1;       // kSearch: Replace All stops after this many
    bool abandon = false;      // ... and says its window is gone instead
};

// --- the steps, named as a user knows them ---
inline Step Type(std::string bytes) { return {.op = Op::kType, .text = std::move(bytes)}; }
inline Step Paste(std::string text) { return {.op = Op::kPaste, .text = std::move(text)}; }
inline Step MoveTo(TextPosition at) { return {.op = Op::kMoveTo, .at = at}; }
inline Step Click(TextPosition at) { return {.op = Op::kClick, .at = at}; }
inline Step ShiftClick(TextPosition at) { return {.op = Op::kClick, .at = at, .shift = true}; }
inline Step SelectWord(TextPosition at) { return {.op = Op::kSelectWord, .at = at}; }
inline Step TabWidth(int width) { return {.op = Op::kTabWidth, .count = width}; }
inline Step Undos(int count) { return {.op = Op::kUndo, .count = count}; }
inline Step Search(FindRequest request, int stopAfter = -1, bool abandon = false)
{
    return {.op = Op::kSearch, .find = std::move(request), .stop_after = stopAfter, .abandon = abandon};
}
inline Step Shift(Step step)
{
    step.shift = true;
    return step;
}
inline Step Key(CaretMove move) { return {.op = Op::kMove, .move = move}; }

inline const Step Enter{.op = Op::kEnter};
inline const Step Backspace{.op = Op::kBackspace};
inline const Step Delete{.op = Op::kDelete};
inline const Step Overwrite{.op = Op::kOverwrite};
inline const Step Copy{.op = Op::kCopy};
inline const Step Cut{.op = Op::kCut};
inline const Step ClearAll{.op = Op::kClearAll};
inline const Step Undo{.op = Op::kUndo};
inline const Step UndoAll{.op = Op::kUndo, .count = -1};
inline const Step SelectAll{.op = Op::kSelectAll};
inline const Step Save{.op = Op::kSave};
inline const Step Left = Key(CaretMove::kLeft);
inline const Step Right = Key(CaretMove::kRight);
inline const Step Up = Key(CaretMove::kUp);
inline const Step Down = Key(CaretMove::kDown);
inline const Step Home = Key(CaretMove::kLineStart);
inline const Step End = Key(CaretMove::kLineEnd);
inline const Step CtrlHome = Key(CaretMove::kDocumentStart);
inline const Step CtrlEnd = Key(CaretMove::kDocumentEnd);

struct Selection {
    TextPosition anchor;
    TextPosition end;
};

struct Row {
    const char* name = "";  // the test's name: letters and digits only
    std::string_view file{};
    TextPosition caret{};                   // before the steps
    std::optional<TextPosition> select_to{};  // and a selection from the caret to here
    std::vector<Step> steps{};
    Lines lines{};                         // after the steps
    TextPosition after{};                  // the caret
    std::optional<Selection> selected{};     // none: nothing is selected
    std::optional<int> undos{};              // records in the undo list
    std::optional<bool> modified{};
    std::optional<long> found{};             // by the last search
    std::optional<std::string> copied{};     // by the last Copy or Cut
    std::optional<std::string> saved{};      // the file's bytes after a Save now
    bool auto_indent = true;
    int undo_limit = TextEditor::kDefaultUndoLimit;
    bool replayable = true;                // undoing everything gives back the loaded lines
};

std::ostream& operator<<(std::ostream& out, const Row& row);
std::string RowName(const ::testing::TestParamInfo<Row>& info);

// One document in a temporary file with its caret model and editor.
class Session {
public:
    Session(std::string_view bytes, int undoLimit, bool autoIndent);

    void Play(const Step& step);
    // Undoes until the list is empty (a bounded number of times).
    void UndoEverything();
    Lines TextLines() const;
    std::string SavedBytes();

    TempTree tree;
    std::string path;
    TextDoc doc;
    CaretModel caret;
    TextEditor editor;
    bool auto_indent;
    long found = -1;
    std::optional<std::string> copied;
    bool saved_once = false;
};

// The parameterised test every table instantiates.
class EditTable : public ::testing::TestWithParam<Row> {};

} // namespace edit_table

inline std::ostream& operator<<(std::ostream& out, const TextPosition& p)
{
    return out << "(" << p.line << ", " << p.column << ")";
}
