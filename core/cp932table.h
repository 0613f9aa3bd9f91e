#pragma once

#include <array>

// Windows code page 932, double bytes (generated: scripts/generate-cp932-table): lead
// bytes 0x81-0x9F and 0xE0-0xFC, 188 trail bytes each (0x40-0x7E, 0x80-0xFC), lead by
// lead; each entry the UTF-16 character, 0 where the pair is no character.
inline constexpr int Cp932Leads = 60;
inline constexpr int Cp932Trails = 188;
extern const std::array<char16_t, Cp932Leads * Cp932Trails> Cp932DoubleBytes;
