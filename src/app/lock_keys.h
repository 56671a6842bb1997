#pragma once
// The Caps Lock and Num Lock states the status bar shows, followed key by
// key. On X11 every key event carries the modifier state as it was before
// the key (Lock 0x2, Num Lock on Mod2 0x10 in the usual keymaps), so the
// states are right from the first key on, whatever they were at start.
// Without that state, each lock key pressed in the program toggles its
// indicator.

#include <cstdint>

struct LockStates {
    bool caps = false;
    bool num = false;
    bool operator==(const LockStates&) const = default;
};

inline constexpr std::uint32_t kX11LockMask = 0x2;
inline constexpr std::uint32_t kX11NumLockMask = 0x10;

enum class LockKey { Other, Caps, Num };

// The states after one key event: `press` or release of `key`, with the
// X11 modifier state when `native_known`.
LockStates LockStatesAfterKey(LockStates shown, LockKey key, bool press, bool native_known,
                              std::uint32_t native_modifiers);
