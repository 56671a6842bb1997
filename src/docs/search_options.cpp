#include "docs/search_options.h"

#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"
#include "settings/settings_path.h"

void SearchOptions::Load(const profile::Snapshot& settings)
{
    search_patt = setting::kFindText.Read(settings);
    replace_patt = setting::kReplaceText.Read(settings);
    whole_words = setting::kFindWholeWords.Read(settings);
    case_sensitive = setting::kFindCaseSensitive.Read(settings);
    replace = setting::kFindReplace.Read(settings);
    down = setting::kFindDown.Read(settings);
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
    setting::kFindText.Write(search_patt, settingsPath);
    setting::kReplaceText.Write(replace_patt, settingsPath);
    setting::kFindWholeWords.Write(whole_words, settingsPath);
    setting::kFindCaseSensitive.Write(case_sensitive, settingsPath);
    setting::kFindReplace.Write(replace, settingsPath);
    setting::kFindDown.Write(down, settingsPath);
}

void SearchOptions::Save() const
{
    Save(SettingsPath());
}
