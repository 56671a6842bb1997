#include "search/result_list_model.h"

#include "framework/byte_text.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

} // namespace

ResultListModel::ResultListModel(QString number_header, QObject* parent)
    : QAbstractTableModel(parent), number_header_(std::move(number_header))
{
}

void ResultListModel::Clear()
{
    beginResetModel();
    blocks_.clear();
    lines_.clear();
    lines_.shrink_to_fit();
    shown_ = 0;
    endResetModel();
}

void ResultListModel::Append(std::string_view line)
{
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < line.size()) {
        Block block;
        block.size = std::max(kBlockSize, line.size());
        block.bytes = std::make_unique_for_overwrite<char[]>(block.size);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    std::memcpy(block.bytes.get() + block.used, line.data(), line.size());
    lines_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(block.used),
                      static_cast<std::uint32_t>(line.size())});
    block.used += line.size();
}

void ResultListModel::Flush()
{
    const int total = static_cast<int>(lines_.size());
    if (total == shown_) return;
    beginInsertRows({}, shown_, total - 1);
    shown_ = total;
    endInsertRows();
}

std::string_view ResultListModel::Line(std::size_t row) const
{
    const Entry& e = lines_[row];
    return std::string_view(blocks_[e.block].bytes.get() + e.offset, e.length);
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
    // The number follows the last TAB; a file name may hold one too.
    const auto tab = line.rfind('\t');
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
