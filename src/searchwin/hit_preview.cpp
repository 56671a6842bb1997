#include "searchwin/hit_preview.h"

#include "search/shown_line.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>

namespace {

QString FromUcs4(const std::u32string& text, std::size_t from, std::size_t to)
{
    return QString::fromUcs4(text.data() + from, static_cast<qsizetype>(to - from));
}

} // namespace

HitPreview::HitPreview(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void HitPreview::ShowNotice(const QString& notice)
{
    setExtraSelections({});
    setPlainText(notice);
}

void HitPreview::ShowLines(const std::vector<ContextLine>& lines, const TextMatcher* matcher, int tab_width)
{
    QString text;
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat match_format;
    match_format.setFontWeight(QFont::Bold);
    match_format.setForeground(palette().brush(QPalette::Link));
    std::vector<std::pair<int, int>> match_ranges;  // in the whole text
    int hit_start = -1;
    for (const ContextLine& line : lines) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        const int start = static_cast<int>(text.size());
        if (line.hit) hit_start = start;
        text += QStringLiteral("%1  ").arg(line.number, 6);
        const std::vector<ByteSpan> matches =
            matcher ? AllMatches(*matcher, line.bytes) : std::vector<ByteSpan>{};
        const ShownLine shown = ShowLine(line.bytes, tab_width, matches);
        std::size_t at = 0;
        for (const auto& [from, to] : shown.marks) {
            text += FromUcs4(shown.text, at, from);
            const int mark_start = static_cast<int>(text.size());
            text += FromUcs4(shown.text, from, to);
            match_ranges.emplace_back(mark_start, static_cast<int>(text.size()));
            at = to;
        }
        text += FromUcs4(shown.text, at, shown.text.size());
    }
    setPlainText(text);
    if (hit_start >= 0) {
        QTextEdit::ExtraSelection hit;
        hit.format.setBackground(palette().brush(QPalette::AlternateBase));
        hit.format.setProperty(QTextFormat::FullWidthSelection, true);
        hit.cursor = QTextCursor(document());
        hit.cursor.setPosition(hit_start);
        marks.push_back(hit);
    }
    for (const auto& [from, to] : match_ranges) {
        QTextEdit::ExtraSelection mark;
        mark.format = match_format;
        mark.cursor = QTextCursor(document());
        mark.cursor.setPosition(from);
        mark.cursor.setPosition(to, QTextCursor::KeepAnchor);
        marks.push_back(mark);
    }
    setExtraSelections(marks);
    // The hit's line in view.
    if (hit_start >= 0) {
        QTextCursor caret(document());
        caret.setPosition(hit_start);
        setTextCursor(caret);
        centerCursor();
    }
}
