#pragma once
// The main menu: the frame's popups and items, their mnemonics, shortcut labels
// and initial states, and the keys each command answers to.

#include "resources/command_ids.h"

#include <vector>

namespace menu {

enum ItemFlags : unsigned {
    kNone = 0,
    kStartsDisabled = 1,
    kStartsChecked = 2,   // a check mark, and the item is checkable
};

struct Item {
    cmd::Command id = cmd::kNone;  // kNone: a separator
    const char* text = "";         // with its mnemonic
    const char* label = "";        // shortcut label shown after a TAB, or ""
    unsigned flags = kNone;
    std::vector<const char*> keys; // key sequences, in QKeySequence's portable text
};

struct Popup {
    const char* title;
    std::vector<Item> items;
};

// The popups in menu-bar order: File, Edit, Search, Options, Window.
const std::vector<Popup>& MainMenu();

} // namespace menu
