#pragma once
// The tab-stops list of the Preferences dialog: the widths 2 to 16 as
// texts, sorted as texts ("10" .. "16", "2" .. "9"), and the rule by which
// a stored value picks an item.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kDefaultTabStops = 4;

std::vector<std::string> TabStopItems();

// The item a stored `tab_stops` text selects: the first one that begins
// with it (ASCII letters without regard to case), looking from the second
// item to the end and then at the first. So "1" selects "11", "10" selects
// "10" and "17" selects nothing. An empty text selects nothing.
std::optional<int> SelectTabStopItem(const std::vector<std::string>& items, std::string_view stored);

// The width an item stands for; kDefaultTabStops when nothing is selected.
int TabStopsOf(const std::vector<std::string>& items, std::optional<int> index);
