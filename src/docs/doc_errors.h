#pragma once
// The documents' error codes. A failed operation leaves one of them in the
// document; the view that called it shows the code's message and resets it.

#include "resources/strings.h"

namespace doc_error {

enum : int {
    kNone = 0,
    kOpen = 1,        // the file cannot be opened, read or written
    kLineTable = 2,   // the line table of a load cannot be allocated
    kLineObject = 3,  // a line cannot be made during a load
    kLineBuffer = 4,  // a line's text cannot be stored during a load
    kMemory = 5,      // any other allocation of an editing operation
    // Not a failure: the file was saved, but its last step reported an
    // error; the document is saved (not modified) and the view says so.
    kSavedWithWarning = 6,
};

// The string-table id of a code's message (strings::kDocErrorOpen...).
constexpr int MessageId(int code) { return int{strings::kDocErrorOpen} - int{kOpen} + code; }
static_assert(MessageId(kMemory) == strings::kDocErrorMemory);
static_assert(MessageId(kSavedWithWarning) == strings::kDocSavedWithWarning);

} // namespace doc_error
