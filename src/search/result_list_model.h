#pragma once
// The results list of the Grep and Line Count windows: result lines
// "path<TAB>number" shown in two columns. Lines are kept back to back in
// blocks of 1 MiB that never move once written, so a million of them cost
// little more than their bytes and growing the list copies nothing. An
// append only stores the line: the view learns of new rows when Flush()
// announces them in one batch, a few dozen times a second during a run.

#include <QAbstractTableModel>

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `number_header` is "Line" for the Grep window, "Lines" for Line Count.
    ResultListModel(QString number_header, QObject* parent = nullptr);

    void Clear();
    void Append(std::string_view line);
    // Tells the views about the rows appended since the last flush.
    void Flush();

    // Every stored line, announced or not.
    std::size_t LineCount() const { return lines_.size(); }
    std::string_view Line(std::size_t row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };
    struct Entry {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t length;
    };

    QString number_header_;
    std::vector<Block> blocks_;
    std::deque<Entry> lines_;  // a deque grows without moving its entries
    int shown_ = 0;            // rows the views know of
};
