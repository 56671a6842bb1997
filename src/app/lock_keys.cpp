#include "app/lock_keys.h"

LockStates LockStatesAfterKey(LockStates shown, LockKey key, bool press, bool native_known,
                              std::uint32_t native_modifiers)
{
    if (!native_known) {
        if (press && key == LockKey::Caps) shown.caps = !shown.caps;
        if (press && key == LockKey::Num) shown.num = !shown.num;
        return shown;
    }
    const bool caps_before = (native_modifiers & kX11LockMask) != 0;
    const bool num_before = (native_modifiers & kX11NumLockMask) != 0;
    // A lock key's own press turns its state over. Its release still
    // carries the lock as it was while the key was down (a lock is undone
    // on release), so it says nothing about that key's state.
    if (key == LockKey::Caps) {
        if (press) shown.caps = !caps_before;
    } else {
        shown.caps = caps_before;
    }
    if (key == LockKey::Num) {
        if (press) shown.num = !num_before;
    } else {
        shown.num = num_before;
    }
    return shown;
}
