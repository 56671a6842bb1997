#include "settings/profile_snapshot.h"

#include "base/text_rules.h"
#include "settings/profile_parse.h"
#include "settings/settings_lock.h"
#include "settings/settings_path.h"

#include <algorithm>

namespace profile {
namespace {

std::string Folded(std::string_view name)
{
    return ::text::LowerAscii(parse::Trim(name));
}

} // namespace

Snapshot::Snapshot() : Snapshot(SettingsPath()) {}

Snapshot::Snapshot(const std::string& path)
{
    try {
        parse::FileContents file = [&] {
            const SettingsLock lock(path, SettingsLock::Mode::kShared);
            return parse::ReadSettingsFile(path);
        }();
        if (file.state != parse::FileContents::State::kRead) return;
        contents_ = std::move(file.bytes);
        Section* current = nullptr;
        for (const parse::Line& line : parse::SplitLines(contents_)) {
            if (const auto name = parse::SectionName(line.text)) {
                // A later section of a name already seen is never read.
                const auto [it, fresh] = sections_.try_emplace(Folded(*name));
                current = fresh ? &it->second : nullptr;
                continue;
            }
            std::string_view value;
            if (current)
                if (const auto key = parse::KeyOf(line.text, &value)) current->values.try_emplace(Folded(*key), value);
        }
    } catch (...) {
        sections_.clear();
        contents_.clear();
    }
}

const std::string_view* Snapshot::Find(std::string_view section, std::string_view key) const
{
    const auto s = sections_.find(Folded(section));
    if (s == sections_.end()) return nullptr;
    const auto k = s->second.values.find(Folded(key));
    return k == s->second.values.end() ? nullptr : &k->second;
}

int Snapshot::ReadInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::string_view* value = Find(section, key);
    return value ? parse::ParseInt(*value) : fallback;
}

std::string Snapshot::ReadString(std::string_view section, std::string_view key, std::string_view fallback,
                                 std::size_t limit) const
{
    const std::string_view* value = Find(section, key);
    const std::string_view chosen = value ? *value : fallback;
    return std::string(chosen.substr(0, std::min(limit, chosen.size())));
}

std::vector<int> Snapshot::NumberedKeys(std::string_view section, std::string_view prefix, int last) const
{
    std::vector<int> numbers;
    const auto s = sections_.find(Folded(section));
    if (s == sections_.end() || last < 1) return numbers;
    const std::string folded_prefix = Folded(prefix);
    for (const auto& [key, value] : s->second.values) {
        if (!key.starts_with(folded_prefix)) continue;
        const std::string_view digits = std::string_view(key).substr(folded_prefix.size());
        if (digits.empty() || digits.size() > 10 || digits.front() == '0' ||
            digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        const long long n = std::stoll(std::string(digits));
        if (n <= last) numbers.push_back(static_cast<int>(n));
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace profile
