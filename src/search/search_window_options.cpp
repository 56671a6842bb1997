#include "search/search_window_options.h"

#include "search/profile_update.h"
#include "settings/profile.h"

namespace {

constexpr const char* kGrepSection = "GrepOpts";
constexpr const char* kCountSection = "CountOpts";

bool ReadFlag(const char* section, const char* key, bool fallback, const std::string& path)
{
    return profile::ReadInt(section, key, fallback ? 1 : 0, path) != 0;
}

void WriteFlag(const char* section, const char* key, bool value, const std::string& path)
{
    profile_update::WriteInt(section, key, value ? 1 : 0, path);
}

} // namespace

GrepFlags LoadGrepFlags(const std::string& path)
{
    GrepFlags f;
    f.text_only = ReadFlag(kGrepSection, "text_only", true, path);
    f.sub_dir = ReadFlag(kGrepSection, "sub_dir", false, path);
    f.case_sensitive = ReadFlag(kGrepSection, "case", false, path);
    f.whole_words = ReadFlag(kGrepSection, "words", false, path);
    f.replace = ReadFlag(kGrepSection, "replace", false, path);
    f.show_lines = ReadFlag(kGrepSection, "show_lines", false, path);
    return f;
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

bool LoadCountSubDir(const std::string& path)
{
    return ReadFlag(kCountSection, "sub_dir", false, path);
}

void SaveCountSubDir(bool sub_dir, const std::string& path)
{
    WriteFlag(kCountSection, "sub_dir", sub_dir, path);
}
