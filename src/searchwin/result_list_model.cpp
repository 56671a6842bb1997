#include "searchwin/result_list_model.h"

#include "framework/byte_text.h"
#include "resources/format_text.h"
#include "resources/strings.h"
#include "search/result_copy.h"
#include "search/result_line.h"

#include <QFont>
#include <QPalette>

ResultListModel::ResultListModel(QString number_header, bool with_text, QObject* parent)
    : QAbstractTableModel(parent), number_header_(std::move(number_header)), with_text_(with_text)
{
}

void ResultListModel::Clear()
{
    beginResetModel();
    lines_.Clear();
    texts_.Clear();
    filter_.Clear();
    shown_rows_.clear();
    filter_seen_ = 0;
    shown_ = 0;
    endResetModel();
}

void ResultListModel::StartHits(std::unique_ptr<TextMatcher> matcher, int tab_width)
{
    texts_.SetMatcher(std::move(matcher));
    texts_.SetTabWidth(tab_width);
}

void ResultListModel::Append(const GrepHit& hit)
{
    const std::size_t row = lines_.size();
    if (with_text_ && !lines_.LastPathIs(hit.path)) texts_.NoteFile(row, std::string(hit.path));
    lines_.Append(hit.path, static_cast<std::uint64_t>(hit.line), hit.line_offset);
}

void ResultListModel::Append(std::string_view line)
{
    lines_.Append(line);
}

void ResultListModel::Flush()
{
    std::size_t total = lines_.size();
    if (filtering_) {
        // New rows pass the filter before the views learn of them.
        const std::vector<std::uint32_t> more = filter_.Rows(lines_, filter_text_, filter_seen_);
        shown_rows_.insert(shown_rows_.end(), more.begin(), more.end());
        filter_seen_ = total;
        total = shown_rows_.size();
    }
    const int count = static_cast<int>(total);
    if (count == shown_) return;
    beginInsertRows({}, shown_, count - 1);
    shown_ = count;
    endInsertRows();
}

void ResultListModel::SetFilter(const std::string& text)
{
    beginResetModel();
    filtering_ = !text.empty();
    filter_text_ = text;
    shown_rows_.clear();
    if (filtering_) {
        shown_rows_ = filter_.Rows(lines_, text, 0);
        filter_seen_ = lines_.size();
        shown_ = static_cast<int>(shown_rows_.size());
    } else {
        filter_.Clear();
        shown_ = static_cast<int>(lines_.size());
    }
    endResetModel();
}

const HitTexts::Text& ResultListModel::HitText(std::size_t row) const
{
    const std::size_t stored = StoreRow(row);
    return texts_.Row(stored, lines_.FirstRowOfPath(stored), std::string(lines_.Path(stored)),
                      lines_.LineOffset(stored));
}

void ResultListModel::AppendCopyLines(const std::vector<std::size_t>& rows, std::string& out) const
{
    std::vector<std::size_t> stored;
    stored.reserve(rows.size());
    for (const std::size_t row : rows) stored.push_back(StoreRow(row));
    ::AppendCopyLines(lines_, texts_, stored, out);
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown_;
}

int ResultListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (with_text_ ? 3 : 2);
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shown_) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const std::size_t stored = StoreRow(row);
    if (index.column() == kTextColumn) {
        if (!lines_.HasLineOffsets()) return {};
        const HitTexts::Text& text = HitText(row);
        if (text.changed) {
            if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
                return QString::fromUtf8(strings::Text(strings::kHitFileChanged));
            if (role == Qt::FontRole) {
                QFont font;
                font.setItalic(true);
                return font;
            }
            if (role == Qt::ForegroundRole) return QPalette().brush(QPalette::Disabled, QPalette::Text);
            return {};
        }
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
            QString shown = QString::fromUcs4(text.shown.text.data(), static_cast<qsizetype>(text.shown.text.size()));
            if (text.cut) shown += QChar(0x2026);
            return shown;
        }
        return {};
    }
    if (role == Qt::DisplayRole) {
        if (index.column() == kPathColumn) return bytetext::ToQString(lines_.Path(stored));
        QString number = bytetext::ToQString(lines_.NumberText(stored));
        // A line with more than one match says how many.
        if (with_text_ && lines_.HasLineOffsets()) {
            const HitTexts::Text& text = HitText(row);
            if (text.matches > 1)
                number += QStringLiteral(" (%1)").arg(text.matches);
        }
        return number;
    }
    if (role == Qt::ToolTipRole && index.column() == kPathColumn) return bytetext::ToQString(lines_.Path(stored));
    if (role == Qt::ToolTipRole && index.column() == kNumberColumn && with_text_ && lines_.HasLineOffsets()) {
        const HitTexts::Text& text = HitText(row);
        if (text.matches > 1)
            return QString::fromUtf8(FormatText(strings::Text(strings::kMatchesInLine), static_cast<long>(text.matches)));
    }
    if (role == Qt::TextAlignmentRole && index.column() == kNumberColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == kTextColumn) return QString::fromUtf8(strings::Text(strings::kTextHeader));
    return section == kPathColumn ? QStringLiteral("Path") : number_header_;
}
