#include "edit/caret_model.h"

#include "docs/lines_doc.h"

#include <algorithm>

int CaretModel::LineWidth(int line) const
{
    return doc_ ? doc_->LineWidth(doc_->GetLine(line)) : 0;
}

bool CaretModel::OrderedSelection(TextPosition& start, TextPosition& end) const
{
    start = std::min(anchor_, end_);
    end = std::max(anchor_, end_);
    return HasSelection();
}

bool CaretModel::SelectedColumns(int line, int& from, int& to) const
{
    TextPosition start, end;
    if (!OrderedSelection(start, end) || line < start.line || line > end.line) return false;
    from = line == start.line ? start.column : 0;
    to = line == end.line ? end.column : LineWidth(line);
    return from < to;
}

std::string CaretModel::SingleLineSelection() const
{
    TextPosition start, end;
    if (!doc_ || !OrderedSelection(start, end) || start.line != end.line) return {};
    return doc_->CopyText(start, end).value_or(std::string());
}

void CaretModel::SnapCaret()
{
    if (!doc_ || doc_->LineCount() == 0) {
        caret_ = {};
        return;
    }
    caret_.line = std::clamp(caret_.line, 0, doc_->LineCount() - 1);
    const TextLine* line = doc_->GetLine(caret_.line);
    caret_.column = doc_->PrefixWidth(line, doc_->ColumnToIndex(line, std::max(0, caret_.column)));
}

bool CaretModel::FollowCaret(bool extend)
{
    if (caret_ == last_followed_) return false;
    last_followed_ = caret_;
    if (extend) end_ = caret_;
    else anchor_ = end_ = caret_;
    anchor_.column = std::min(anchor_.column, LineWidth(anchor_.line));
    end_.column = std::min(end_.column, LineWidth(end_.line));
    return true;
}

void CaretModel::Select(TextPosition anchor, TextPosition end)
{
    anchor_ = anchor;
    end_ = end;
    caret_ = end;
    last_followed_ = end;
}

void CaretModel::MoveTo(TextPosition position)
{
    caret_ = position;
    SnapCaret();
    last_followed_ = {-1, -1};
    FollowCaret(false);
}

bool CaretModel::Move(CaretMove move)
{
    const int count = doc_ ? doc_->LineCount() : 0;
    const TextLine* line = doc_ ? doc_->GetLine(caret_.line) : nullptr;
    const int width = LineWidth(caret_.line);
    switch (move) {
    case CaretMove::kLineStart:
        caret_.column = 0;
        return true;
    case CaretMove::kDocumentStart:
        caret_ = {};
        return true;
    case CaretMove::kLineEnd:
        caret_.column = width;
        return true;
    case CaretMove::kDocumentEnd:
        if (count == 0) {
            caret_.column = width;
            return true;
        }
        caret_ = {count - 1, LineWidth(count - 1)};
        return true;
    case CaretMove::kLeft:
        if (caret_.column > 0) {
            const int index = doc_->ColumnToIndex(line, caret_.column);
            caret_.column = doc_->PrefixWidth(line, doc_->PrevCharIndex(line, index));
        } else if (caret_.line > 0) {
            --caret_.line;
            caret_.column = LineWidth(caret_.line);
        } else {
            return false;
        }
        return true;
    case CaretMove::kRight:
        if (caret_.column < width) {
            const int index = doc_->ColumnToIndex(line, caret_.column);
            caret_.column = doc_->PrefixWidth(line, doc_->NextCharIndex(line, index));
        } else if (caret_.line < count - 1) {
            ++caret_.line;
            caret_.column = 0;
        } else {
            return false;
        }
        return true;
    case CaretMove::kUp:
        if (caret_.line == 0) return false;
        --caret_.line;
        return true;
    case CaretMove::kDown:
        if (caret_.line >= count - 1) return false;
        ++caret_.line;
        return true;
    }
    return false;
}

bool CaretModel::SelectWordAt(TextPosition at)
{
    if (!doc_ || doc_->LineCount() == 0) return false;
    int start = -1, end = -1;
    doc_->WordBounds(doc_->GetLine(at.line), at.column, start, end);
    if (start < 0) return false;
    Select({at.line, start}, {at.line, end});
    return true;
}

bool CaretModel::SelectAll()
{
    const int last = doc_ ? doc_->LineCount() - 1 : -1;
    if (last < 0) return false;
    Select({0, 0}, {last, LineWidth(last)});
    return true;
}
