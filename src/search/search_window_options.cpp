#include "search/search_window_options.h"

#include "settings/profile_update.h"
#include "settings/profile_snapshot.h"

namespace {

constexpr const char* kGrepSection = "GrepOpts";
constexpr const char* kCountSection = "CountOpts";

bool ReadFlag(const profile::Snapshot& settings, const char* section, const char* key, bool fallback)
{
    return settings.ReadInt(section, key, fallback ? 1 : 0) != 0;
}

void WriteFlag(const char* section, const char* key, bool value, const std::string& path)
{
    profile_update::WriteInt(section, key, value ? 1 : 0, path);
}

} // namespace

GrepFlags LoadGrepFlags(const profile::Snapshot& settings)
{
    GrepFlags f;
    f.text_only = ReadFlag(settings, kGrepSection, "text_only", true);
    f.sub_dir = ReadFlag(settings, kGrepSection, "sub_dir", false);
    f.case_sensitive = ReadFlag(settings, kGrepSection, "case", false);
    f.whole_words = ReadFlag(settings, kGrepSection, "words", false);
    f.replace = ReadFlag(settings, kGrepSection, "replace", false);
    f.show_lines = ReadFlag(settings, kGrepSection, "show_lines", false);
    return f;
}

GrepFlags LoadGrepFlags(const std::string& path)
{
    return LoadGrepFlags(profile::Snapshot(path));
}

void SaveGrepFlags(const GrepFlags& f, const std::string& path)
{
    WriteFlag(kGrepSection, "text_only", f.text_only, path);
    WriteFlag(kGrepSection, "sub_dir", f.sub_dir, path);
    WriteFlag(kGrepSection, "words", f.whole_words, path);
    WriteFlag(kGrepSection, "case", f.case_sensitive, path);
    WriteFlag(kGrepSection, "replace", f.replace, path);
    WriteFlag(kGrepSection, "show_lines", f.show_lines, path);
}

bool LoadCountSubDir(const profile::Snapshot& settings)
{
    return ReadFlag(settings, kCountSection, "sub_dir", false);
}

bool LoadCountSubDir(const std::string& path)
{
    return LoadCountSubDir(profile::Snapshot(path));
}

void SaveCountSubDir(bool sub_dir, const std::string& path)
{
    WriteFlag(kCountSection, "sub_dir", sub_dir, path);
}
