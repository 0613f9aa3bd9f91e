#pragma once

#include <QString>

// Message box styles, as the numbers the program's messages are given in.
namespace MsgStyle
{
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int Critical = 16; // stop icon
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
} // namespace MsgStyle

// A message the program shows: its text, title and style. The decisions of the core
// answer with these; the windows show them.
struct MessageText {
    QString text;
    QString title;
    int style = 0;
};
