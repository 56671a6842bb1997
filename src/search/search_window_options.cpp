#include "search/search_window_options.h"

#include "settings/profile_update.h"
#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"

namespace {

void WriteFlag(const setting::FlagSetting& flag, bool value, const std::string& path)
{
    profile_update::WriteString(flag.section, flag.key, setting::FlagSetting::Format(value), path);
}

} // namespace

GrepFlags LoadGrepFlags(const profile::Snapshot& settings)
{
    GrepFlags f;
    f.text_only = setting::kGrepTextOnly.Read(settings);
    f.sub_dir = setting::kGrepSubDir.Read(settings);
    f.case_sensitive = setting::kGrepCase.Read(settings);
    f.whole_words = setting::kGrepWords.Read(settings);
    f.replace = setting::kGrepReplace.Read(settings);
    f.show_lines = setting::kGrepShowLines.Read(settings);
    f.use_gitignore = setting::kGrepGitignore.Read(settings);
    f.context = setting::kGrepContext.Read(settings);
    return f;
}

GrepFlags LoadGrepFlags(const std::string& path)
{
    return LoadGrepFlags(profile::Snapshot(path));
}

void SaveGrepFlags(const GrepFlags& f, const std::string& path)
{
    WriteFlag(setting::kGrepTextOnly, f.text_only, path);
    WriteFlag(setting::kGrepSubDir, f.sub_dir, path);
    WriteFlag(setting::kGrepWords, f.whole_words, path);
    WriteFlag(setting::kGrepCase, f.case_sensitive, path);
    WriteFlag(setting::kGrepReplace, f.replace, path);
    WriteFlag(setting::kGrepShowLines, f.show_lines, path);
    WriteFlag(setting::kGrepGitignore, f.use_gitignore, path);
    profile_update::WriteString(setting::kGrepContext.section, setting::kGrepContext.key,
                                setting::IntSetting::Format(f.context), path);
}

bool LoadCountSubDir(const profile::Snapshot& settings)
{
    return setting::kCountSubDir.Read(settings);
}

bool LoadCountSubDir(const std::string& path)
{
    return LoadCountSubDir(profile::Snapshot(path));
}

void SaveCountSubDir(bool sub_dir, const std::string& path)
{
    WriteFlag(setting::kCountSubDir, sub_dir, path);
}

bool LoadCountGitignore(const profile::Snapshot& settings)
{
    return setting::kCountGitignore.Read(settings);
}

void SaveCountGitignore(bool use_gitignore, const std::string& path)
{
    WriteFlag(setting::kCountGitignore, use_gitignore, path);
}
