#pragma once
// The caret and the selection of a window over a line document, and every
// rule that moves them. The selection runs from the anchor to its end; the
// caret usually stands at the end. A caret that has just been moved pulls
// the selection along (extend) or collapses it onto itself (reset); moving
// the caret onto the place it already had leaves the selection alone, so a
// click on a selected place keeps the selection until the pointer moves.
//
// Positions are display columns (docs/text_position.h). The model never
// scrolls or paints: the window asks it where things are.

#include "docs/text_position.h"

#include <string>

class LinesDoc;

// The steps of the movement keys.
enum class CaretMove { kLineStart, kDocumentStart, kLineEnd, kDocumentEnd, kLeft, kRight, kUp, kDown };

class CaretModel {
public:
    explicit CaretModel(const LinesDoc* doc = nullptr) : doc_(doc) {}
    void SetDocument(const LinesDoc* doc) { doc_ = doc; }

    TextPosition Caret() const { return caret_; }
    TextPosition Anchor() const { return anchor_; }
    TextPosition SelectionEnd() const { return end_; }
    bool HasSelection() const { return anchor_ != end_; }
    // The anchor and the end in document order; false when nothing is selected.
    bool OrderedSelection(TextPosition& start, TextPosition& end) const;
    // The display columns of `line` selected, [from, to); false when none.
    bool SelectedColumns(int line, int& from, int& to) const;
    // The selected text when the selection lies within one line, else empty.
    std::string SingleLineSelection() const;

    bool Overwrite() const { return overwrite_; }
    void ToggleOverwrite() { overwrite_ = !overwrite_; }

    // Sets the caret as it is, for the steps that snap it afterwards.
    void PlaceCaret(TextPosition position) { caret_ = position; }
    // Puts the caret on an existing line and at the start of the character
    // its column falls in (a tab's span counts as passed); nowhere but
    // (0, 0) in an empty document.
    void SnapCaret();
    // After a caret move: the selection follows the caret (extend) or
    // collapses onto it. False when the caret had not moved since the last
    // time, so nothing changed.
    bool FollowCaret(bool extend);
    // Anchor, end and caret at once (the caret at `end`).
    void Select(TextPosition anchor, TextPosition end);
    // A programmed move (load, Go to, the Grep window): snaps the caret and
    // always collapses the selection there, even onto the caret's own place.
    void MoveTo(TextPosition position);
    // One step of a movement key; false when the caret cannot go that way.
    // Call SnapCaret and FollowCaret afterwards, as after a click.
    bool Move(CaretMove move);
    // Selects the word at or next to `at`; false when its line holds none.
    bool SelectWordAt(TextPosition at);
    // Selects the whole document; false when it has no line.
    bool SelectAll();

private:
    int LineWidth(int line) const;

    const LinesDoc* doc_;
    TextPosition caret_;
    TextPosition anchor_;
    TextPosition end_;
    TextPosition last_followed_{-1, -1};
    bool overwrite_ = false;
};
