#include "core/countdowncolours.h"

#include <cmath>

CountdownColours countdownColours(const QString &textSetting, const QString &backgroundSetting)
{
    return {colorFromText(textSetting).value_or(rgbValue(255, 255, 255)), colorFromText(backgroundSetting).value_or(0)};
}

ColorValue numberBoxBorder(ColorValue background)
{
    // Relative luminance as WCAG weighs the channels; black has the better contrast
    // against anything lighter than about 18 %.
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance =
        0.2126 * linear(redOf(background)) + 0.7152 * linear(greenOf(background)) + 0.0722 * linear(blueOf(background));
    const double againstBlack = (luminance + 0.05) / 0.05;
    const double againstWhite = 1.05 / (luminance + 0.05);
    return againstBlack >= againstWhite ? rgbValue(0, 0, 0) : rgbValue(255, 255, 255);
}

CountdownColourChoice chooseCountdownColour(ColorValue chosen, const QString &otherSetting)
{
    using Kind = CountdownColourChoice::Kind;
    // The other colour may still hold its stored text; one that is no number ends the command.
    const std::optional<ColorValue> other = colorFromText(otherSetting);
    if (!other)
        return {Kind::Ignored, {}};
    if (*other == chosen)
        return {Kind::SameAsOther, {}};
    return {Kind::Store, colorToText(chosen)};
}

MessageText sameCountdownColoursMessage()
{
    return {QStringLiteral("背景と文字に同じ色を設定しようとしました。"), QStringLiteral("設定確認"),
            MsgStyle::Critical};
}
