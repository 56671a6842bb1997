#pragma once
// The string table: every user-visible message of the program, by id.

namespace strings {

// The text of string `id`, or an empty text for an id the table lacks.
const char* Text(int id);

// Ids of the table (grouped by the part of the program that shows them).
enum : int {
    kSettingsFileName = 1,  // "TARNWICK.INI"
    kAppName = 2,           // "Tarnwick", caption of every message box

    // --- application shell ---

    // --- documents ---
    // Document errors: string 1100 + code (docs/doc_errors.h).
    kDocErrorOpen = 1101,
    kDocErrorLineTable = 1102,
    kDocErrorLineObject = 1103,
    kDocErrorLineBuffer = 1104,
    kDocErrorMemory = 1105,

    // --- views ---

    // --- search windows ---

    // --- settings dialogs ---
};

} // namespace strings
