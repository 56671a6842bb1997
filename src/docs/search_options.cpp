#include "docs/search_options.h"

#include "settings/profile.h"
#include "settings/profile_snapshot.h"
#include "settings/settings_path.h"

namespace {
constexpr const char* kSection = "SchOpts";
}

void SearchOptions::Load(const profile::Snapshot& settings)
{
    search_patt = settings.ReadString(kSection, "search_patt", "", kPatternLimit);
    replace_patt = settings.ReadString(kSection, "replace_patt", "", kPatternLimit);
    whole_words = settings.ReadInt(kSection, "whole_words", 0);
    case_sensitive = settings.ReadInt(kSection, "case_sensitive", 1);
    replace = settings.ReadInt(kSection, "replace", 0);
    down = settings.ReadInt(kSection, "down", 1);
}

void SearchOptions::Load(const std::string& settingsPath)
{
    Load(profile::Snapshot(settingsPath));
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
