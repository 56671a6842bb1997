#pragma once
// The Grep window's preview: the selected hit's line with the lines
// around it, numbered, the hit's line highlighted and the matches marked
// as in the list.

#include "search/hit_context.h"

#include <QPlainTextEdit>

#include <vector>

class TextMatcher;

class HitPreview : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit HitPreview(QWidget* parent = nullptr);

    // `matcher` may be null (nothing marked).
    void ShowLines(const std::vector<ContextLine>& lines, const TextMatcher* matcher, int tab_width);
    // A notice in place of lines (a changed file), or nothing.
    void ShowNotice(const QString& notice);
};
