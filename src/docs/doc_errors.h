#pragma once
// The documents' error codes. A failed operation leaves one of them in the
// document; the view that called it shows string 1100 + code and resets it.

namespace doc_error {

enum : int {
    kNone = 0,
    kOpen = 1,        // the file cannot be opened, read or written
    kLineTable = 2,   // the line table of a load cannot be allocated
    kLineObject = 3,  // a line cannot be made during a load
    kLineBuffer = 4,  // a line's text cannot be stored during a load
    kMemory = 5,      // any other allocation of an editing operation
};

// The string-table id of a code's message.
constexpr int MessageId(int code) { return 1100 + code; }

} // namespace doc_error
