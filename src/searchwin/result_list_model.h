#pragma once
// The results list of the Grep and Line Count windows: result lines
// "path<TAB>number" shown as columns, and in the Grep window the text of
// each hit's line with its matches marked. The lines are kept in a
// ResultStore (a path once per file, a few bytes a line) and their texts
// made when the view asks for them; a hit's text is read from its file
// then (HitTexts). An append only stores the line: the view learns of new
// rows when Flush() announces them in one batch, a few dozen times a
// second during a run.
//
// A filter shows only the rows whose path or text holds a given text;
// rows are then the shown ones, in their order.

#include "search/hit_texts.h"
#include "search/result_filter.h"
#include "search/result_store.h"

#include <QAbstractTableModel>

#include <memory>
#include <string>
#include <string_view>

struct GrepHit;

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kPathColumn, kNumberColumn, kTextColumn };

    // `number_header` is "Line" for the Grep window, "Lines" for Line
    // Count; `with_text` adds the hits' text column.
    ResultListModel(QString number_header, bool with_text = false, QObject* parent = nullptr);

    void Clear();
    // The matcher of the next grep run marks the matches of the text
    // column; tabs are expanded to `tab_width`.
    void StartHits(std::unique_ptr<TextMatcher> matcher, int tab_width);
    void Append(const GrepHit& hit);
    void Append(std::string_view path, std::uint64_t number) { lines_.Append(path, number); }
    // A line from outside, taken apart at its last TAB.
    void Append(std::string_view line);
    // Tells the views about the rows appended since the last flush.
    void Flush();

    // Every stored line, announced or not (the filter aside).
    std::size_t LineCount() const { return lines_.size(); }
    // Of a row as shown.
    std::string Line(std::size_t row) const { return lines_.Line(StoreRow(row)); }
    ResultLine Record(std::size_t row) const { return lines_.Record(StoreRow(row)); }
    // The text of a hit's line (the Grep window only).
    const HitTexts::Text& HitText(std::size_t row) const;
    bool HasText() const { return with_text_; }
    // How the text column shows lines: the run's matcher (none before a
    // run) and the tab width.
    const TextMatcher* Matcher() const { return texts_.matcher(); }
    int TabWidth() const { return texts_.tab_width(); }
    // Where the shown row's line starts in its file.
    std::uint64_t LineOffset(std::size_t row) const { return lines_.LineOffset(StoreRow(row)); }
    // The shown rows (ascending) as "path:number:text" lines, for Copy
    // and Save Results.
    void AppendCopyLines(const std::vector<std::size_t>& rows, std::string& out) const;

    // Shows only rows whose path or text holds `text` (letters of either
    // case); an empty text shows every row.
    void SetFilter(const std::string& text);
    // Reads what the filter needs ahead of the first key typed.
    void PrepareFilter() { filter_.ReadTexts(lines_); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::size_t StoreRow(std::size_t row) const { return filtering_ ? shown_rows_[row] : row; }

    QString number_header_;
    const bool with_text_;
    ResultStore lines_;
    mutable HitTexts texts_;
    int shown_ = 0;  // rows the views know of
    bool filtering_ = false;
    std::vector<std::uint32_t> shown_rows_;  // by a filter, in store order
    std::string filter_text_;
    std::size_t filter_seen_ = 0;  // stored rows the filter has looked at
    ResultFilter filter_;
};
