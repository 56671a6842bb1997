#pragma once
// The frame's tool bar: 18 gadgets (buttons and separators) in a fixed order.

#include "resources/command_ids.h"

#include <array>

class QToolBar;

namespace fw {
class MdiFrame;
}

namespace toolbar {

// The gadgets in order; 0 stands for a separator.
inline constexpr std::array<int, 18> kGadgets = {
    cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, cmd::kFilePrint, 0,
    cmd::kEditUndo, cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste, 0,
    cmd::kFileGrep, cmd::kSearchFind, cmd::kSearchReplace, cmd::kSearchNext, 0, 0,
    cmd::kToolBarPosition,
};

// Builds the bar from the frame's actions (the cmd::kToolBarPosition action
// is made and registered here), named "toolBar" and cmd::kOptionsToolBar.
QToolBar* Build(fw::MdiFrame& frame);

} // namespace toolbar
