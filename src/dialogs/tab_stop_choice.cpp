#include "dialogs/tab_stop_choice.h"

#include "base/text_rules.h"

#include <algorithm>

namespace {

bool BeginsWith(std::string_view item, std::string_view prefix)
{
    if (prefix.size() > item.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (text::ToUpperAscii(item[i]) != text::ToUpperAscii(prefix[i])) return false;
    return true;
}

} // namespace

std::vector<std::string> TabStopItems()
{
    std::vector<std::string> items;
    for (int width = 2; width <= 16; ++width) items.push_back(std::to_string(width));
    std::sort(items.begin(), items.end());
    return items;
}

std::optional<int> SelectTabStopItem(const std::vector<std::string>& items, std::string_view stored)
{
    if (stored.empty() || items.empty()) return std::nullopt;
    const int count = static_cast<int>(items.size());
    for (int step = 1; step <= count; ++step) {
        const int index = step % count;
        if (BeginsWith(items[std::size_t(index)], stored)) return index;
    }
    return std::nullopt;
}

int TabStopsOf(const std::vector<std::string>& items, std::optional<int> index)
{
    if (!index || *index < 0 || *index >= static_cast<int>(items.size())) return kDefaultTabStops;
    return std::stoi(items[std::size_t(*index)]);
}
