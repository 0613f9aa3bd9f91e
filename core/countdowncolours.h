#pragma once

#include "core/colors.h"
#include "core/message.h"

#include <QString>

#include <optional>

// The countdown window's two colours, from their settings' texts: a text that is no
// colour gives white lettering on black.
struct CountdownColours {
    ColorValue text;
    ColorValue background;
};
CountdownColours countdownColours(const QString &textSetting, const QString &backgroundSetting);

// The line round the number box: black or white, whichever stands out more from the
// window's background, so that the box shows its edge whatever the two colours are.
ColorValue numberBoxBorder(ColorValue background);

// What choosing one of the two colours comes to, given the other's setting text.
struct CountdownColourChoice {
    enum class Kind {
        Store,       // store `stored` under the key and take it
        SameAsOther, // refused: the message says why
        Ignored,     // the other setting is no colour: nothing happens
    };
    Kind kind = Kind::Ignored;
    QString stored;
};
CountdownColourChoice chooseCountdownColour(ColorValue chosen, const QString &otherSetting);
// The message of a refused choice.
MessageText sameCountdownColoursMessage();
