// The CAPS and NUM indicators follow the real lock states.
#include "app/lock_keys.h"
#include "app/status_fields.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kLock = kX11LockMask, kNum = kX11NumLockMask;

TEST(LockKeys, AnyKeyTellsTheStatesFromTheFirstKeyOn)
{
    // Both locks were on before the program started: the first plain key says so.
    EXPECT_EQ(LockStatesAfterKey({}, LockKey::Other, true, true, kLock | kNum), (LockStates{true, true}));
    EXPECT_EQ(LockStatesAfterKey({true, true}, LockKey::Other, false, true, 0), (LockStates{false, false}));
    // A lock key's press turns over the state it reports, whatever was shown.
    EXPECT_EQ(LockStatesAfterKey({true, false}, LockKey::Caps, true, true, 0), (LockStates{true, false}));
    EXPECT_EQ(LockStatesAfterKey({}, LockKey::Caps, true, true, kLock | kNum), (LockStates{false, true}));
    EXPECT_EQ(LockStatesAfterKey({}, LockKey::Num, true, true, kLock), (LockStates{true, true}));
    // Its release still carries the old lock and leaves that state alone.
    EXPECT_EQ(LockStatesAfterKey({false, true}, LockKey::Caps, false, true, kLock | kNum), (LockStates{false, true}));
    EXPECT_EQ(LockStatesAfterKey({true, false}, LockKey::Num, false, true, kLock | kNum), (LockStates{true, false}));
}

TEST(LockKeys, WithoutTheModifierStateLockKeysToggle)
{
    LockStates s;
    s = LockStatesAfterKey(s, LockKey::Caps, true, false, 0);
    s = LockStatesAfterKey(s, LockKey::Caps, false, false, 0);
    s = LockStatesAfterKey(s, LockKey::Other, true, false, kLock);
    EXPECT_EQ(s, (LockStates{true, false}));
    s = LockStatesAfterKey(s, LockKey::Num, true, false, 0);
    s = LockStatesAfterKey(s, LockKey::Caps, true, false, 0);
    EXPECT_EQ(s, (LockStates{false, true}));
}

TEST(LockKeys, TheIndicatorsShowWhatTheKeyEventsCarry)
{
    QStatusBar bar;
    StatusFields fields(&bar);
    EXPECT_FALSE(fields.CapsIndicator()->isEnabled());
    const QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 0x61, kLock | kNum, QStringLiteral("a"));
    fields.TakeKey(a, true);
    EXPECT_TRUE(fields.CapsIndicator()->isEnabled());
    EXPECT_TRUE(fields.NumIndicator()->isEnabled());
    const QKeyEvent caps(QEvent::KeyPress, Qt::Key_CapsLock, Qt::NoModifier, 66, 0xffe5, kLock | kNum);
    fields.TakeKey(caps, true);
    EXPECT_FALSE(fields.CapsIndicator()->isEnabled());
    EXPECT_TRUE(fields.NumIndicator()->isEnabled());
}

} // namespace
