#include "views/text_keys.h"

#include "framework/byte_text.h"

#include <QKeyEvent>

#include <algorithm>

namespace text_keys {

bool OwnedByTheText(const QKeyEvent& key)
{
    if (key.modifiers() & Qt::ControlModifier) return false;
    switch (key.key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Insert:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
        return true;
    default:
        return !(key.modifiers() & Qt::AltModifier) && !key.text().isEmpty();
    }
}

cmd::Command AcceleratorCommand(const QKeyEvent& key)
{
    const auto mods = key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (mods == Qt::NoModifier) return key.key() == Qt::Key_F3 ? cmd::kSearchNext : cmd::kNone;
    if (mods != Qt::ControlModifier) return cmd::kNone;
    switch (key.key()) {
    case Qt::Key_Z: return cmd::kEditUndo;
    case Qt::Key_X: return cmd::kEditCut;
    case Qt::Key_C: return cmd::kEditCopy;
    case Qt::Key_V: return cmd::kEditPaste;
    case Qt::Key_Delete: return cmd::kEditClearAll;
    default: return cmd::kNone;
    }
}

std::string TypedBytes(const QKeyEvent& key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return {};
    const std::string bytes = bytetext::TypedBytes(key.text());
    std::string repeated;
    for (int i = 0; i < std::max(1, key.count()); ++i) repeated += bytes;
    return repeated;
}

} // namespace text_keys
