#pragma once
// The results list of the Grep and Line Count windows: result lines
// "path<TAB>number" shown in two columns. The lines are kept in a
// ResultStore (a path once per file, four bytes a line) and their texts
// made when the view asks for them. An append only stores the line: the
// view learns of new rows when Flush() announces them in one batch, a few
// dozen times a second during a run.

#include "search/result_store.h"

#include <QAbstractTableModel>

#include <string>
#include <string_view>

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `number_header` is "Line" for the Grep window, "Lines" for Line Count.
    ResultListModel(QString number_header, QObject* parent = nullptr);

    void Clear();
    void Append(std::string_view path, std::uint64_t number) { lines_.Append(path, number); }
    // A line from outside, taken apart at its last TAB.
    void Append(std::string_view line);
    // Tells the views about the rows appended since the last flush.
    void Flush();

    // Every stored line, announced or not.
    std::size_t LineCount() const { return lines_.size(); }
    std::string Line(std::size_t row) const { return lines_.Line(row); }
    ResultLine Record(std::size_t row) const { return lines_.Record(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString number_header_;
    ResultStore lines_;
    int shown_ = 0;  // rows the views know of
};
