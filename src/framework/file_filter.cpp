#include "framework/file_filter.h"

#include "framework/byte_text.h"
#include "resources/strings.h"
#include "settings/file_types.h"
#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"
#include "settings/settings_path.h"

#include <QDir>
#include <QRegularExpression>

#include <filesystem>
#include <system_error>

namespace {

// The characters Qt reads as patterns between a filter's parentheses; a
// filter whose patterns hold any other one is taken as one odd pattern and
// matches no file.
bool QtPatternCharacter(QChar c)
{
    static const QString others = QStringLiteral("_.,*?+#-[]@{}/!<>$%&=^~:|");
    return (c.unicode() < 0x80 && c.isLetterOrNumber()) || others.contains(c);
}

// "*.TXT" -> "*.TXT *.txt": file names here are case-sensitive, the file
// types are not. "*.*" and "*" take every name, with or without a dot.
QStringList QtPatterns(const QString& pattern)
{
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) return {QStringLiteral("*")};
    QString usable = pattern;
    for (QChar& c : usable)
        if (!QtPatternCharacter(c)) c = QLatin1Char('?');  // still matches the name meant
    QStringList variants{usable};
    for (const QString& v : {usable.toLower(), usable.toUpper()})
        if (!variants.contains(v)) variants << v;
    return variants;
}

} // namespace

FilterList BuildFilterList(const std::string& settings)
{
    const profile::Snapshot stored(settings);
    const int count = setting::kFileTypes.count.Read(stored);
    if (count <= 0) return SplitFilterText(strings::Text(strings::kDefaultFilter));
    FilterList filters;
    for (const FileType& type : ReadFileTypes(stored, count))
        filters.push_back({type.description + " (*." + type.extension + ")", "*." + type.extension});
    return filters;
}

FilterList SplitFilterText(std::string_view text)
{
    FilterList filters;
    while (true) {
        const auto bar = text.find('|');
        if (bar == std::string_view::npos) break;
        const auto next = text.find('|', bar + 1);
        if (next == std::string_view::npos) break;
        filters.push_back({std::string(text.substr(0, bar)), std::string(text.substr(bar + 1, next - bar - 1))});
        text.remove_prefix(next + 1);
    }
    return filters;
}

void EnterFilterDirectory(const std::string& settings)
{
    const std::string path = setting::kOpenFolder.Read(settings);
    if (path.empty()) return;
    std::error_code error;
    std::filesystem::current_path(path, error);  // a failed change keeps the old one
}

FilterList BuildFilter()
{
    const std::string settings = SettingsPath();
    EnterFilterDirectory(settings);
    return BuildFilterList(settings);
}

QStringList QtFileFilters(const FilterList& filters)
{
    QStringList qt_filters;
    for (const NameFilter& filter : filters) {
        QString description = bytetext::ToQString(filter.description).simplified();
        const QString pattern = bytetext::ToQString(filter.pattern).trimmed();
        QStringList patterns;
        for (const QString& part : pattern.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts))
            for (const QString& variant : QtPatterns(part))
                if (!patterns.contains(variant)) patterns << variant;
        if (patterns.isEmpty()) continue;
        // The description names its pattern already; Qt reads the patterns
        // from the last parentheses, so they are given once, as Qt needs them.
        const QString named = QStringLiteral("(") + pattern + QStringLiteral(")");
        if (description.endsWith(named)) description.chop(named.size());
        description = description.trimmed();
        // QFileDialog keeps its filters simplified; so do they here, or a
        // filter chosen by its text would not be found.
        qt_filters << (description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(")"))
                          .simplified();
    }
    return qt_filters;
}
