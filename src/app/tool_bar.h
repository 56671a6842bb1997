#pragma once
// The frame's tool bar: 18 gadgets (buttons and separators) in a fixed order.

#include "resources/command_ids.h"

#include <array>

class QToolBar;

namespace fw {
class MdiFrame;
}

namespace toolbar {

// The gadgets in order; cmd::kNone stands for a separator.
inline constexpr std::array<cmd::Command, 18> kGadgets = {
    cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs, cmd::kFilePrint, cmd::kNone,
    cmd::kEditUndo, cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste, cmd::kNone,
    cmd::kFileGrep, cmd::kSearchFind, cmd::kSearchReplace, cmd::kSearchNext, cmd::kNone, cmd::kNone,
    cmd::kToolBarPosition,
};

// Builds the bar from the frame's actions (the cmd::kToolBarPosition action
// is made and registered here), named "toolBar" and cmd::kOptionsToolBar.
QToolBar* Build(fw::MdiFrame& frame);

} // namespace toolbar
