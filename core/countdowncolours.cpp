#include "core/countdowncolours.h"

CountdownColours countdownColours(const QString &textSetting, const QString &backgroundSetting)
{
    return {colorFromText(textSetting).value_or(rgbValue(255, 255, 255)), colorFromText(backgroundSetting).value_or(0)};
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
