#pragma once
// The results list of the Grep and Line Count windows: result lines
// "path<TAB>number" shown in two columns. Lines are kept back to back in one
// buffer, so a million of them cost little more than their bytes, and an
// append only stores the line: the view learns of new rows when Flush()
// announces them in one batch, a few dozen times a second during a run.

#include <QAbstractTableModel>

#include <string>
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
    std::size_t LineCount() const { return starts_.size(); }
    std::string_view Line(std::size_t row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString number_header_;
    std::string bytes_;
    std::vector<std::size_t> starts_;  // where each line begins in bytes_
    int shown_ = 0;                    // rows the views know of
};
