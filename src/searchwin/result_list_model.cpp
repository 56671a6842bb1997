#include "searchwin/result_list_model.h"

#include "framework/byte_text.h"

ResultListModel::ResultListModel(QString number_header, QObject* parent)
    : QAbstractTableModel(parent), number_header_(std::move(number_header))
{
}

void ResultListModel::Clear()
{
    beginResetModel();
    lines_.Clear();
    shown_ = 0;
    endResetModel();
}

void ResultListModel::Append(std::string_view line)
{
    lines_.Append(line);
}

void ResultListModel::Flush()
{
    const int total = static_cast<int>(lines_.size());
    if (total == shown_) return;
    beginInsertRows({}, shown_, total - 1);
    shown_ = total;
    endInsertRows();
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shown_;
}

int ResultListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shown_) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? bytetext::ToQString(lines_.Path(row)) : bytetext::ToQString(lines_.NumberText(row));
    if (role == Qt::ToolTipRole && index.column() == 0) return bytetext::ToQString(lines_.Path(row));
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Path") : number_header_;
}
