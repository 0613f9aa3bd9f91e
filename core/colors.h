#pragma once

#include "core/sharedstate.h"

#include <QString>

#include <optional>

// RGB(r, g, b) as a colour value (red in the low byte).
constexpr ColorValue rgbValue(int r, int g, int b)
{
    return ColorValue(r & 0xFF) | ColorValue(g & 0xFF) << 8 | ColorValue(b & 0xFF) << 16;
}
constexpr int redOf(ColorValue v)
{
    return int(v & 0xFF);
}
constexpr int greenOf(ColorValue v)
{
    return int(v >> 8 & 0xFF);
}
constexpr int blueOf(ColorValue v)
{
    return int(v >> 16 & 0xFF);
}

// Reads a colour setting: "&H" followed by hexadecimal digits (as the defaults are
// stored) or a plain decimal number (as chosen colours are stored). Blanks around the
// number are allowed; anything else, or a value beyond 24 bits, is not a colour.
std::optional<ColorValue> colorFromText(const QString &text);
// The decimal text under which a chosen colour is stored.
QString colorToText(ColorValue value);

// One main-screen colour preset.
struct MainColorPreset {
    ColorValue logo;
    ColorValue logoShadow;
    qint16 red;
    qint16 green;
    qint16 blue;
};

// The preset that the setting text "1", "2" or "3" names; none for any other text.
std::optional<MainColorPreset> mainColorPreset(const QString &optMColor);
// Puts a preset's five values into the shared state.
void applyMainColorPreset(SharedState &s, const MainColorPreset &preset);
