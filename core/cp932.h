#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Windows code page 932 (Shift_JIS with the NEC and IBM extensions), read and written
// exactly as Windows does (MultiByteToWideChar, and WideCharToMultiByte without best
// fit), on every platform: the program's files travel between Windows and Linux.
//
// Reading: the ASCII bytes as ASCII (control bytes included), 0xA1-0xDF as half-width
// katakana, 0x80, 0xA0 and 0xFD-0xFF as Windows maps them (U+0080, U+F8F0-U+F8F3),
// the double bytes from the table. A lead byte without its trail, or a pair that is no
// character, makes the bytes no CP932 text.
std::optional<QString> decodeCp932(QByteArrayView bytes);

// Writing: each character's code; where the table gives a character several (NEC row
// 13 and the IBM extensions repeat some), the one Windows writes: JIS X 0208 first,
// then NEC row 13, then the IBM extensions (0xFA40-0xFC4B), the NEC-selected IBM
// extensions (0xED40-0xEEFC) last. None when a character has no code.
std::optional<QByteArray> encodeCp932Exactly(QStringView text);
