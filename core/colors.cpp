#include "core/colors.h"

std::optional<ColorValue> colorFromText(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    qulonglong value = 0;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        QString digits = t.mid(2);
        if (digits.endsWith(QLatin1Char('&'))) // a long-integer suffix, as in "&HFF&"
            digits.chop(1);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        value = digits.toULongLong(&ok, 16);
    } else {
        if (t.isEmpty() || t.size() > 10 || t.startsWith(QLatin1Char('+')))
            return std::nullopt;
        for (QChar c : t) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
        value = t.toULongLong(&ok, 10);
    }
    if (!ok || value > 0xFFFFFFu)
        return std::nullopt;
    return ColorValue(value);
}

QString colorToText(ColorValue value)
{
    return QString::number(value);
}

std::optional<MainColorPreset> mainColorPreset(const QString &optMColor)
{
    static constexpr MainColorPreset deepSea{rgbValue(0, 128, 128), rgbValue(0, 64, 0), 10, 50, 110};
    static constexpr MainColorPreset sunsetSky{rgbValue(255, 128, 0), rgbValue(128, 0, 0), 200, 100, 150};
    static constexpr MainColorPreset blueSky{rgbValue(0, 128, 128), rgbValue(0, 64, 0), 50, 80, 130};
    if (optMColor == QLatin1String("1"))
        return deepSea;
    if (optMColor == QLatin1String("2"))
        return sunsetSky;
    if (optMColor == QLatin1String("3"))
        return blueSky;
    return std::nullopt;
}

void applyMainColorPreset(SharedState &s, const MainColorPreset &preset)
{
    s.LogoColor = preset.logo;
    s.LogoShadowColor = preset.logoShadow;
    s.GradientRed = preset.red;
    s.GradientGreen = preset.green;
    s.GradientBlue = preset.blue;
}
