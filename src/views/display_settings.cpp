#include "views/display_settings.h"

#include "settings/profile_snapshot.h"

#include <algorithm>
#include <cstdio>
#include <string>

QFont DisplaySettings::DefaultFont()
{
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QColor DisplaySettings::ParseColour(std::string_view text)
{
    int r = 0, g = 0, b = 0;
    const std::string copy(text);
    std::sscanf(copy.c_str(), "%d %d %d", &r, &g, &b);
    return QColor(r & 0xFF, g & 0xFF, b & 0xFF);
}

DisplaySettings DisplaySettings::Read(const profile::Snapshot& settings)
{
    DisplaySettings display;
    const std::string face = settings.ReadString("Font", "font_name", "Courier New", 127);
    const int size = settings.ReadInt("Font", "font_size", 12);
    const int weight = settings.ReadInt("Font", "font_weight", 0);
    display.font = QFont(QString::fromStdString(face));
    display.font.setStyleHint(QFont::TypeWriter);
    display.font.setFixedPitch(true);
    display.font.setPixelSize(size > 0 ? size : 12);
    if (weight > 0) display.font.setWeight(QFont::Weight(std::clamp(weight, 1, 1000)));
    display.font.setKerning(false);

    const int tabs = settings.ReadInt("Display", "tab_stops", 4);
    display.tab_stops = tabs <= 0 || tabs > 16 ? 4 : tabs;
    display.background = ParseColour(settings.ReadString("Display", "bk_color", "255 255 255", 127));
    display.foreground = ParseColour(settings.ReadString("Display", "fg_color", "0 0 0", 127));
    return display;
}
