#pragma once

#include <QString>

#include <optional>

// The face the countdown shows beside a number ("9" … "0"); none for any other text,
// which leaves the face as it is.
std::optional<QString> countdownFace(const QString &number);

// The progress bar's value after one more step of the countdown, and the step kept
// for the next tick (back to 0 once the bar is full).
struct CountdownProgress {
    int barValue;
    int nextStep;
};
CountdownProgress advanceCountdown(int step);
