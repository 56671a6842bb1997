#pragma once
// What a document window takes from the settings file to show its text:
// the font, the tab width and the two colours.

#include <QColor>
#include <QFont>

#include <string_view>

namespace profile {
class Snapshot;
}

struct DisplaySettings {
    QFont font;
    int tab_stops = 4;
    QColor background{Qt::white};
    QColor foreground{Qt::black};

    // Out-of-range values fall back to the defaults: a 12 px Courier New,
    // 4 columns a tab, black on white.
    static DisplaySettings Read(const profile::Snapshot& settings);
    // "r g b" in decimal; each component's low 8 bits.
    static QColor ParseColour(std::string_view text);
    // The font a window uses before it has read its settings.
    static QFont DefaultFont();
};
