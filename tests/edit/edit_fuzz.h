#pragma once
// Random editing sessions: each round loads a file of random bytes (ASCII,
// UTF-8 of every length, combining marks, zero-width spaces, invalid bytes,
// tabs and every line break form), plays random steps the way a window
// does on keys and commands (typing, overwrite mode, Enter with and without
// auto indent, Backspace, Delete, paste, cut, selections, moves, tab width
// changes, Replace All, saves, single undos), then undoes everything and
// applies every record forward again. After every step the modified flag
// may be clear only while the text is the one last saved; undoing
// everything must give back the loaded bytes, and applying forward the
// bytes before the undos.
// The same seed plays the same rounds.

#include <cstdint>
#include <string>

struct EditFuzzResult {
    long rounds = 0;
    long steps = 0;
    std::string failure;  // empty when every round held; else what broke and how to replay it
};

// Plays rounds until `steps` steps have been played in all.
EditFuzzResult FuzzEditing(std::uint64_t seed, long steps);
