#pragma once
// One Find, Replace or Replace All in the text of a window. A search down
// finds the first occurrence that starts at or after its start, a search up
// the last one that ends at or before it; so Find moves on from a selected
// occurrence, while Replace takes a selected occurrence itself first. Each
// occurrence found is selected (searching up, the caret stands at its
// start); each replacement is recorded in the undo list, one record a
// replacement. Replace All goes on to the end of the text and lets its
// caller run between two replacements, to show progress or to stop it.

#include "base/match_query.h"
#include "docs/text_position.h"

#include <functional>
#include <string>

class TextEditor;

struct FindRequest {
    std::string find;
    std::string replace;
    bool down = true;
    bool match_case = false;
    bool whole_words = false;
    bool replacing = false;  // Replace (or Replace All with `all`)
    bool all = false;

    MatchQuery Query() const { return {find, match_case, whole_words}; }
};

// What the caller of a long Replace All says between two replacements.
enum class RunVerdict {
    kGoOn,
    kStop,       // stop here; what is replaced stays replaced
    kAbandoned,  // the window and its editor are gone: touch nothing more
};

class FindReplaceRun {
public:
    using Between = std::function<RunVerdict()>;

    FindReplaceRun(TextEditor& editor, FindRequest request);

    // Runs the search; returns how many occurrences were found (and, when
    // replacing, replaced). `between` runs after each replacement of a
    // Replace All.
    long Run(const Between& between = {});
    bool Abandoned() const { return abandoned_; }

    // Where a search begins: Find and Next move on from a selected
    // occurrence, down from its end, up from its start; Replace and
    // Replace All take the selection itself first. `start` and `end` are
    // the ordered selection, both the caret when nothing is selected.
    static TextPosition StartOf(bool down, bool replacing, TextPosition start, TextPosition end)
    {
        if (replacing) return down ? start : end;
        return down ? end : start;
    }

private:
    TextEditor& editor_;
    FindRequest request_;
    bool abandoned_ = false;
};
