#pragma once
// Where a search of the text view begins. The document's search finds,
// searching down, the first occurrence that starts at or after a position
// and, searching up, the last one that ends at or before it. So:
// - Find and Next move on from a selected occurrence: down from its end,
//   up from its start; with nothing selected an occurrence starting (down)
//   or ending (up) at the caret is found.
// - Replace and Replace All take the selection itself first: down from its
//   start, up from its end, so a selected occurrence is the one replaced.
// `start` and `end` are the ordered selection, both the caret when nothing
// is selected.

#include "docs/text_position.h"

inline TextPosition FindStart(bool down, bool replacing, TextPosition start, TextPosition end)
{
    if (replacing) return down ? start : end;
    return down ? end : start;
}
