#include "search/search_history.h"

#include "base/text_rules.h"
#include "settings/profile.h"
#include "settings/profile_update.h"
#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"

#include <algorithm>
#include <climits>

namespace {

bool BeginsWith(std::string_view item, std::string_view prefix, bool fold_case)
{
    if (item.size() < prefix.size()) return false;
    const std::string_view head = item.substr(0, prefix.size());
    return fold_case ? text::EqualsNoCaseAscii(head, prefix) : head == prefix;
}

// First index from `first` on, wrapping round, that `match` accepts; -1
// when none does.
template <class Match>
int FindFrom(const std::vector<std::string>& items, int first, Match match)
{
    const int n = static_cast<int>(items.size());
    for (int k = 0; k < n; ++k) {
        const int i = (first + k) % n;
        if (match(items[static_cast<std::size_t>(i)])) return i;
    }
    return -1;
}

} // namespace

int SearchHistory::SelectIndex(const std::vector<std::string>& items, std::string_view text, bool fold_case,
                               int first)
{
    if (text.empty()) return -1;
    // The text of the last Go is always in the list, so prefer it over a
    // longer item that merely begins with it.
    const int exact = FindFrom(items, first, [&](const std::string& item) { return item == text; });
    if (exact >= 0) return exact;
    return FindFrom(items, first, [&](const std::string& item) { return BeginsWith(item, text, fold_case); });
}

void SearchHistory::Load(const profile::Snapshot& settings)
{
    items_.clear();
    const setting::ListSetting& list = kind_.list;
    // Numbers without a stored item would read as empty and be skipped.
    for (const int i : list.StoredNumbers(settings, list.count.Read(settings))) {
        std::string item = list.ReadItem(settings, i);
        if (!item.empty()) items_.push_back(std::move(item));
    }
    const std::string selected = list.ReadSelected(settings);
    selected_ = SelectIndex(items_, selected, kind_.fold_case);
}

void SearchHistory::Load(const std::string& settings_path)
{
    Load(profile::Snapshot(settings_path));
}

bool SearchHistory::Remember(std::string_view text, const std::string& settings_path)
{
    const bool append = !text.empty() && std::find(items_.begin(), items_.end(), text) == items_.end();
    const setting::ListSetting& list = kind_.list;
    if (append) {
        items_.emplace_back(text);
        // Another window (or empty items skipped at opening) may have put
        // the stored count above this window's list; numbering after the
        // larger of the two never overwrites an item already stored.
        // A stored count beyond the items actually stored counts up to the
        // last of them; the next number always fits an int.
        const profile::Snapshot settings(settings_path);
        const int count = std::min(list.count.Read(settings), INT_MAX - 1);
        const auto numbers = list.StoredNumbers(settings, count);
        const int stored = numbers.empty() ? 0 : numbers.back();
        const int number = std::max(stored, static_cast<int>(items_.size() - 1)) + 1;
        list.count.Write(number, settings_path);
        list.WriteItem(number, text, settings_path);
    }
    profile_update::WriteString(list.section, list.selected_key, text, settings_path);
    return append;
}
