#include "framework/file_filter.h"

#include "resources/strings.h"
#include "settings/profile.h"
#include "settings/profile_snapshot.h"
#include "settings/settings_path.h"

#include <QDir>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

constexpr std::size_t kEntryLimit = 255;

// "*.TXT" -> "*.TXT *.txt": file names here are case-sensitive, the file
// types are not. "*.*" and "*" take every name, with or without a dot.
QString QtPatterns(const QString& pattern)
{
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*"))
        return QStringLiteral("*");
    QStringList variants{pattern};
    for (const QString& v : {pattern.toLower(), pattern.toUpper()})
        if (!variants.contains(v)) variants << v;
    return variants.join(QLatin1Char(' '));
}

} // namespace

std::string BuildFilterText(const std::string& settings)
{
    const profile::Snapshot stored(settings);
    const int count = stored.ReadInt("Extensions", "Count", 0);
    if (count <= 0) return strings::Text(strings::kDefaultFilter);
    std::string filter;
    // Only entries actually stored: a count larger than the list ends at
    // its last entry.
    for (const int i : stored.NumberedKeys("Extensions", "ext_", count)) {
        char key[32];
        std::snprintf(key, sizeof key, "ext_%d", i);
        const std::string entry = stored.ReadString("Extensions", key, "", kEntryLimit);
        const auto comma = entry.find(',');
        if (comma == std::string::npos) continue;
        const std::string description = entry.substr(0, comma);
        const std::string extension = entry.substr(comma + 1);
        filter += description + " (*." + extension + ")|*." + extension + "|";
    }
    return filter;
}

void EnterFilterDirectory(const std::string& settings)
{
    const std::string path = profile::ReadString("Extensions", "Path", "", kEntryLimit, settings);
    if (path.empty()) return;
    std::error_code error;
    std::filesystem::current_path(path, error);  // a failed change keeps the old one
}

std::string BuildFilter()
{
    const std::string settings = SettingsPath();
    EnterFilterDirectory(settings);
    return BuildFilterText(settings);
}

QStringList QtFileFilters(const std::string& filter)
{
    const QStringList parts = QString::fromLocal8Bit(filter.c_str()).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (pattern.isEmpty()) continue;
        // The description names its pattern already; Qt reads the patterns
        // from the last parentheses, so they are given once, as Qt needs them.
        const QString named = QStringLiteral("(") + pattern + QStringLiteral(")");
        if (description.endsWith(named)) description.chop(named.size());
        description = description.trimmed();
        filters << description + QStringLiteral(" (") + QtPatterns(pattern) + QStringLiteral(")");
    }
    return filters;
}
