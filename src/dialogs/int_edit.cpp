#include "dialogs/int_edit.h"

#include "dialogs/int_field_rule.h"

#include <QApplication>

IntEdit::IntEdit(int minimum, int maximum, QWidget* parent)
    : QLineEdit(parent), minimum_(minimum), maximum_(maximum)
{
    connect(this, &QLineEdit::textChanged, this, &IntEdit::Filter);
}

void IntEdit::SetValue(int value)
{
    setText(QString::number(value));
}

int IntEdit::GetValue() const
{
    return IntFieldValue(text().toStdString());
}

namespace {

// One byte per character of the field, so that places in the text stay
// places in the field: digits as they are, everything else as '?'.
std::string OneBytePerCharacter(const QString& text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (QChar c : text) bytes += (c >= u'0' && c <= u'9') ? char(c.unicode()) : '?';
    return bytes;
}

} // namespace

void IntEdit::Filter()
{
    if (filtering_) return;
    filtering_ = true;
    const IntFieldText kept = FilterIntField(OneBytePerCharacter(text()), cursorPosition(), minimum_, maximum_);
    for (int i = 0; i < kept.removed; ++i) {
        QApplication::beep();
        ++beeps_;
    }
    const QString shown = QString::fromStdString(kept.text);
    if (shown != text()) setText(shown);
    setCursorPosition(kept.caret);
    filtering_ = false;
}
