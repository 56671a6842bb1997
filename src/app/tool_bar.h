#pragma once
// The frame's tool bar: 18 gadgets (buttons and separators) in a fixed order.

#include <array>

class QToolBar;

namespace fw {
class MdiFrame;
}

namespace toolbar {

// The gadgets in order; 0 stands for a separator.
inline constexpr std::array<int, 18> kGadgets = {
    24331, 24332, 24333, 24334, 24337, 0,  // New, Open, Save, Save As, Print
    24321, 24322, 24323, 24324, 0,         // Undo, Cut, Copy, Paste
    104, 24351, 24352, 24353, 0, 0,        // Grep, Find, Replace, Next
    203,                                   // tool-bar position
};

// Builds the bar from the frame's actions (the command 203 action is made
// and registered here), named "toolBar32041".
QToolBar* Build(fw::MdiFrame& frame);

} // namespace toolbar
