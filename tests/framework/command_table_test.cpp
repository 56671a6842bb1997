#include "framework/command_routing.h"
#include "framework/command_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A base class and a derived class with chained tables, as views have.
class BaseTarget : public fw::CommandTarget {
public:
    static const fw::CommandTable& Commands()
    {
        static const fw::CommandTable table(nullptr, {
            fw::On(1, &BaseTarget::One),
            fw::On(2, &BaseTarget::BaseTwo),
            fw::On(3, &BaseTarget::Three, &BaseTarget::CanThree),
        });
        return table;
    }
    const fw::CommandTable& commandTable() const override { return Commands(); }

    void One() { log += "base1 "; }
    void BaseTwo() { log += "base2 "; }
    void Three() { log += "base3 "; }
    bool CanThree() const { return can_three; }

    std::string log;
    bool can_three = false;
};

class DerivedTarget : public BaseTarget {
public:
    static const fw::CommandTable& Commands()
    {
        static const fw::CommandTable table(&BaseTarget::Commands(), {
            fw::On(2, &DerivedTarget::DerivedTwo),
            fw::OnId(10, &DerivedTarget::Numbered),
        });
        return table;
    }
    const fw::CommandTable& commandTable() const override { return Commands(); }

    void DerivedTwo() { log += "derived2 "; }
    void Numbered(int id) { log += "n" + std::to_string(id) + " "; }
};

TEST(CommandTable, DerivedEntriesComeBeforeTheBaseTableAndMissingIdsAreNotHandled)
{
    DerivedTarget target;
    EXPECT_TRUE(target.ExecuteCommand(2));
    EXPECT_TRUE(target.ExecuteCommand(1));
    EXPECT_TRUE(target.ExecuteCommand(10));
    EXPECT_FALSE(target.ExecuteCommand(99));
    EXPECT_EQ(target.log, "derived2 base1 n10 ");
    EXPECT_FALSE(target.CommandEnabled(99).has_value());
    EXPECT_EQ(target.CommandEnabled(1), true);
}

TEST(CommandTable, EnablingRuleDecidesAndADisabledCommandDoesNotRun)
{
    DerivedTarget target;
    EXPECT_EQ(target.CommandEnabled(3), false);
    EXPECT_TRUE(target.ExecuteCommand(3));  // held, so nobody further down runs it
    EXPECT_EQ(target.log, "");
    target.can_three = true;
    EXPECT_EQ(target.CommandEnabled(3), true);
    target.ExecuteCommand(3);
    EXPECT_EQ(target.log, "base3 ");
}

TEST(CommandRouting, FirstTargetThatHoldsTheIdTakesItAndUnheldIdsAreDisabled)
{
    DerivedTarget view;
    BaseTarget frame;
    const fw::CommandChain chain{nullptr, &view, &frame};
    EXPECT_TRUE(fw::RouteCommand(chain, 2));
    EXPECT_EQ(view.log, "derived2 ");
    EXPECT_EQ(frame.log, "");

    // A disabled rule earlier in the chain hides a later handler.
    EXPECT_FALSE(fw::CommandEnabledAlong(chain, 3));
    frame.can_three = true;
    EXPECT_FALSE(fw::CommandEnabledAlong(chain, 3));
    EXPECT_TRUE(fw::CommandEnabledAlong(fw::CommandChain{&frame}, 3));

    EXPECT_FALSE(fw::CommandEnabledAlong(chain, 42));
    EXPECT_FALSE(fw::RouteCommand(chain, 42));
    EXPECT_FALSE(fw::CommandEnabledAlong(fw::CommandChain{}, 1));
}

} // namespace
