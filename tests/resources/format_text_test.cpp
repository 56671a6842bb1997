#include "resources/format_text.h"

#include "resources/strings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

TEST(FormatText, EachArgumentReachesItsDirectiveAsWhatItIs)
{
    const std::string text = "a%sb";
    const struct {
        std::string got, expected;
    } cases[] = {
        {FormatText("%ld/%ld:%d", 12L, 340L, 5), "12/340:5"},
        {FormatText("%d", -7), "-7"},
        {FormatText("%ld", LONG_MIN), std::to_string(LONG_MIN)},
        {FormatText("%lu", ULONG_MAX), std::to_string(ULONG_MAX)},
        // An offset past 4 GB keeps its high digits, whatever the length modifier.
        {FormatText("%08X", std::uint64_t{0x123456789}), "123456789"},
        {FormatText("%08X", 0u), "00000000"},
        {FormatText("%X", std::size_t{255}), "FF"},
        {FormatText("%s/%s", "dir", std::string("name")), "dir/name"},
        {FormatText("[%5s|%-3s]", "ab", std::string_view("c")), "[   ab|c  ]"},
        // A text argument is taken as it is: its own '%' directives stay.
        {FormatText("'%s' not found", text), "'a%sb' not found"},
        {FormatText("100%% of %d", 3), "100% of 3"},
        {FormatText("no directives"), "no directives"},
        {FormatText("%s", static_cast<const char*>(nullptr)), ""},
        {strings::Format(strings::kGoToLinePrompt, 1L, 99L), "Enter line number (1 - 99):"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(FormatText, FaultsNameArgumentsThatDoNotFitTheDirectives)
{
    using strings::FormatFault;
    EXPECT_EQ(FormatFault("%s has %ld lines", {"a", 3L}), std::nullopt);
    EXPECT_EQ(FormatFault("100%%", {}), std::nullopt);
    EXPECT_EQ(FormatFault("%s and %s", {"a"}), "too few arguments");
    EXPECT_EQ(FormatFault("%d", {1, 2}), "too many arguments");
    EXPECT_EQ(FormatFault("%d", {"one"}), "argument 1 does not fit its directive");
    EXPECT_EQ(FormatFault("%s %s", {"a", 2}), "argument 2 does not fit its directive");
    EXPECT_EQ(FormatFault("50% off", {}), "an unknown directive at byte 2");
}

TEST(FormatText, EveryStringOfTheTableHoldsOnlyKnownDirectives)
{
    int formatted = 0;
    for (int id = 0; id <= 0xFFFF; ++id) {
        const std::string_view text = strings::Text(id);
        if (text.find('%') == std::string_view::npos) continue;
        ++formatted;
        const auto fault = strings::FormatFault(text, {});
        EXPECT_FALSE(fault && fault->starts_with("an unknown")) << id << ": " << text;
    }
    EXPECT_GT(formatted, 10);
}

#ifdef NDEBUG
TEST(FormatText, ReleaseBuildsMarkADirectiveWithoutAFittingArgument)
{
    EXPECT_EQ(FormatText("%s and %d", 5), "%? and %?");
    EXPECT_EQ(FormatText("%d", 1, 2), "1");
}
#endif

} // namespace
