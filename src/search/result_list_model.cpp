#include "search/result_list_model.h"

#include "framework/byte_text.h"

ResultListModel::ResultListModel(QString number_header, QObject* parent)
    : QAbstractTableModel(parent), number_header_(std::move(number_header))
{
}

void ResultListModel::Clear()
{
    beginResetModel();
    bytes_.clear();
    bytes_.shrink_to_fit();
    starts_.clear();
    starts_.shrink_to_fit();
    shown_ = 0;
    endResetModel();
}

void ResultListModel::Append(std::string_view line)
{
    starts_.push_back(bytes_.size());
    bytes_.append(line);
}

void ResultListModel::Flush()
{
    const int total = static_cast<int>(starts_.size());
    if (total == shown_) return;
    beginInsertRows({}, shown_, total - 1);
    shown_ = total;
    endInsertRows();
}

std::string_view ResultListModel::Line(std::size_t row) const
{
    const std::size_t begin = starts_[row];
    const std::size_t end = row + 1 < starts_.size() ? starts_[row + 1] : bytes_.size();
    return std::string_view(bytes_).substr(begin, end - begin);
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
    const std::string_view line = Line(static_cast<std::size_t>(index.row()));
    const auto tab = line.find('\t');
    const std::string_view path = line.substr(0, tab);
    const std::string_view number = tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
    if (role == Qt::DisplayRole) return bytetext::ToQString(index.column() == 0 ? path : number);
    if (role == Qt::ToolTipRole && index.column() == 0) return bytetext::ToQString(path);
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("Path") : number_header_;
}
