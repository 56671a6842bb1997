#pragma once
// What is known of the width of one line's text, and the few measuring rules
// every edit of a line builds on. A line that keeps its measure with it (in
// its own block or in its chunk's note) is not walked again by the next
// keystroke: its width follows from the edit.

#include <cstdint>
#include <string_view>

struct LineMeasure {
    std::uint32_t tabs = 0;     // tab bytes in the text
    std::int32_t width = 0;     // display width, valid for tab_size only
    std::int32_t tab_size = 0;  // the tab size width was measured with; 0: none
    bool plain = false;         // every byte ASCII and none a tab: each is one column

    bool WidthAt(int tabSize) const noexcept { return tab_size == tabSize; }
};

namespace line_measure {

// Jumps from tab to tab: long lines have few or none.
std::uint32_t TabsIn(std::string_view text) noexcept;
bool HasTab(std::string_view text) noexcept;
bool IsPlain(std::string_view text) noexcept;
// A byte that continues a UTF-8 character: a cut before it may split a
// character, whose pieces measure apart differently from the whole.
bool StartsInsideCharacter(std::string_view text) noexcept;
// How many columns the end of `right` moves when a text leftWidth columns
// wide comes before it (right starts a character): leftWidth, unless right's
// tabs snap to other stops. Only the stretch of right before its first tab
// is measured, and only then.
int ColumnsAdded(int leftWidth, std::string_view right, bool rightHasTabs, int tabSize);
// The whole measure of a text. `plain` says it is known to be plain ASCII
// without tabs; a knownWidth >= 0 is taken as its width instead of walking it.
LineMeasure Measure(std::string_view text, int tabSize, bool plain = false, int knownWidth = -1);

}  // namespace line_measure
