#include "views/display_settings.h"

#include "settings/profile_snapshot.h"
#include "settings/setting_schema.h"

#include <algorithm>
#include <string>

namespace {

// Each component's low 8 bits, as the views have always shown them.
QColor ToColour(setting::Rgb stored)
{
    const setting::Rgb colour = setting::LowBytes(stored);
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace

QFont DisplaySettings::DefaultFont()
{
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QColor DisplaySettings::ParseColour(std::string_view text)
{
    return ToColour(setting::ParseRgb(text));
}

DisplaySettings DisplaySettings::Read(const profile::Snapshot& settings)
{
    DisplaySettings display;
    const setting::Font font = setting::kFont.Read(settings);
    display.font = QFont(QString::fromStdString(font.face));
    display.font.setStyleHint(QFont::TypeWriter);
    display.font.setFixedPitch(true);
    display.font.setPixelSize(font.size);
    if (font.weight > 0) display.font.setWeight(QFont::Weight(std::clamp(font.weight, 1, 1000)));
    display.font.setKerning(false);

    display.tab_stops = setting::kTabStops.Read(settings);
    display.background = ToColour(setting::kBackground.Read(settings));
    display.foreground = ToColour(setting::kForeground.Read(settings));
    return display;
}
