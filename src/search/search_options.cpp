#include "search/search_options.h"

#include "settings/profile.h"
#include "settings/settings_path.h"

namespace {
constexpr const char* kSection = "SchOpts";
}

void SearchOptions::Load(const std::string& settingsPath)
{
    search_patt = profile::ReadString(kSection, "search_patt", "", kPatternLimit, settingsPath);
    replace_patt = profile::ReadString(kSection, "replace_patt", "", kPatternLimit, settingsPath);
    whole_words = profile::ReadInt(kSection, "whole_words", 0, settingsPath);
    case_sensitive = profile::ReadInt(kSection, "case_sensitive", 1, settingsPath);
    replace = profile::ReadInt(kSection, "replace", 0, settingsPath);
    down = profile::ReadInt(kSection, "down", 1, settingsPath);
}

void SearchOptions::Load()
{
    Load(SettingsPath());
}

void SearchOptions::Save(const std::string& settingsPath) const
{
    profile::WriteString(kSection, "search_patt", search_patt, settingsPath);
    profile::WriteString(kSection, "replace_patt", replace_patt, settingsPath);
    profile::WriteInt(kSection, "whole_words", whole_words, settingsPath);
    profile::WriteInt(kSection, "case_sensitive", case_sensitive, settingsPath);
    profile::WriteInt(kSection, "replace", replace, settingsPath);
    profile::WriteInt(kSection, "down", down, settingsPath);
}

void SearchOptions::Save() const
{
    Save(SettingsPath());
}
