#include "framework/command_routing.h"
#include "framework/command_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Any number may name a command here.
constexpr cmd::Command Id(int number) { return static_cast<cmd::Command>(number); }

// A base class and a derived class with chained tables, as views have.
class BaseTarget : public fw::CommandTarget {
public:
    static const fw::CommandTable& Commands()
    {
        static const fw::CommandTable table(nullptr, {
            fw::On(Id(1), &BaseTarget::One),
            fw::On(Id(2), &BaseTarget::BaseTwo),
            fw::On(Id(3), &BaseTarget::Three, &BaseTarget::CanThree),
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
            fw::On(Id(2), &DerivedTarget::DerivedTwo),
            fw::OnId(Id(10), &DerivedTarget::Numbered),
        });
        return table;
    }
    const fw::CommandTable& commandTable() const override { return Commands(); }

    void DerivedTwo() { log += "derived2 "; }
    void Numbered(cmd::Command id) { log += "n" + std::to_string(cmd::Number(id)) + " "; }
};

TEST(CommandTable, DerivedEntriesComeBeforeTheBaseTableAndMissingIdsAreNotHandled)
{
    DerivedTarget target;
    EXPECT_TRUE(target.ExecuteCommand(Id(2)));
    EXPECT_TRUE(target.ExecuteCommand(Id(1)));
    EXPECT_TRUE(target.ExecuteCommand(Id(10)));
    EXPECT_FALSE(target.ExecuteCommand(Id(99)));
    EXPECT_EQ(target.log, "derived2 base1 n10 ");
    EXPECT_FALSE(target.CommandEnabled(Id(99)).has_value());
    EXPECT_EQ(target.CommandEnabled(Id(1)), true);
}

TEST(CommandTable, EnablingRuleDecidesAndADisabledCommandDoesNotRun)
{
    DerivedTarget target;
    EXPECT_EQ(target.CommandEnabled(Id(3)), false);
    EXPECT_TRUE(target.ExecuteCommand(Id(3)));  // held, so nobody further down runs it
    EXPECT_EQ(target.log, "");
    target.can_three = true;
    EXPECT_EQ(target.CommandEnabled(Id(3)), true);
    target.ExecuteCommand(Id(3));
    EXPECT_EQ(target.log, "base3 ");
}

TEST(CommandRouting, FirstTargetThatHoldsTheIdTakesItAndUnheldIdsAreDisabled)
{
    DerivedTarget view;
    BaseTarget frame;
    const fw::CommandChain chain{nullptr, &view, &frame};
    EXPECT_TRUE(fw::RouteCommand(chain, Id(2)));
    EXPECT_EQ(view.log, "derived2 ");
    EXPECT_EQ(frame.log, "");

    // A disabled rule earlier in the chain hides a later handler.
    EXPECT_FALSE(fw::CommandEnabledAlong(chain, Id(3)));
    frame.can_three = true;
    EXPECT_FALSE(fw::CommandEnabledAlong(chain, Id(3)));
    EXPECT_TRUE(fw::CommandEnabledAlong(fw::CommandChain{&frame}, Id(3)));

    EXPECT_FALSE(fw::CommandEnabledAlong(chain, Id(42)));
    EXPECT_FALSE(fw::RouteCommand(chain, Id(42)));
    EXPECT_FALSE(fw::CommandEnabledAlong(fw::CommandChain{}, Id(1)));
}

} // namespace
