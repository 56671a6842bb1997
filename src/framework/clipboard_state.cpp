#include "framework/clipboard_state.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <optional>

namespace fw {

namespace {

std::optional<bool> has_text;
QClipboard* watched = nullptr;

} // namespace

bool ClipboardHasText()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    if (watched != clipboard) {
        watched = clipboard;
        has_text.reset();
        QObject::connect(clipboard, &QClipboard::dataChanged, clipboard, [] { has_text.reset(); });
        QObject::connect(clipboard, &QObject::destroyed, [] { watched = nullptr; });
    }
    if (!has_text) {
        const QMimeData* data = clipboard->mimeData();
        has_text = data && data->hasText();
    }
    return *has_text;
}

} // namespace fw
