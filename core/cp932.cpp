#include "core/cp932.h"

#include "core/cp932table.h"

#include <QHash>

namespace
{

int leadIndex(uchar lead)
{
    if (lead >= 0x81 && lead <= 0x9F)
        return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC)
        return lead - 0xE0 + 0x1F;
    return -1;
}

int trailIndex(uchar trail)
{
    if (trail >= 0x40 && trail <= 0x7E)
        return trail - 0x40;
    if (trail >= 0x80 && trail <= 0xFC)
        return trail - 0x80 + 0x3F;
    return -1;
}

// The single bytes that are no ASCII and no half-width katakana, as Windows reads them.
constexpr std::pair<uchar, char16_t> OddSingles[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

// Lower ranks win when a character has several codes.
int preference(quint16 code)
{
    if (code >= 0xED40 && code <= 0xEEFC)
        return 3; // NEC-selected IBM extensions
    if (code >= 0xFA40 && code <= 0xFC4B)
        return 2; // IBM extensions
    if (code >= 0x8740 && code <= 0x879C)
        return 1; // NEC row 13
    return 0;
}

const QHash<char16_t, quint16> &codesOfCharacters()
{
    static const QHash<char16_t, quint16> codes = [] {
        QHash<char16_t, quint16> map;
        for (int lead = 0; lead < Cp932Leads; ++lead) {
            for (int trail = 0; trail < Cp932Trails; ++trail) {
                const char16_t c = Cp932DoubleBytes[size_t(lead * Cp932Trails + trail)];
                if (c == 0)
                    continue;
                const int leadByte = lead < 0x1F ? 0x81 + lead : 0xE0 + lead - 0x1F;
                const int trailByte = trail < 0x3F ? 0x40 + trail : 0x80 + trail - 0x3F;
                const auto code = quint16(leadByte << 8 | trailByte);
                const auto known = map.constFind(c);
                if (known == map.cend() || std::pair(preference(code), code) < std::pair(preference(*known), *known))
                    map.insert(c, code);
            }
        }
        return map;
    }();
    return codes;
}

} // namespace

std::optional<QString> decodeCp932(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = uchar(bytes[i]);
        if (b < 0x80) {
            text.append(QChar(b));
        } else if (b >= 0xA1 && b <= 0xDF) {
            text.append(QChar(char16_t(0xFF61 + b - 0xA1)));
        } else if (const int lead = leadIndex(b); lead >= 0) {
            const int trail = i + 1 < n ? trailIndex(uchar(bytes[i + 1])) : -1;
            const char16_t c = trail < 0 ? 0 : Cp932DoubleBytes[size_t(lead * Cp932Trails + trail)];
            if (c == 0)
                return std::nullopt;
            text.append(QChar(c));
            ++i;
        } else {
            const auto odd = std::find_if(std::begin(OddSingles), std::end(OddSingles),
                                          [b](const auto &single) { return single.first == b; });
            if (odd == std::end(OddSingles))
                return std::nullopt;
            text.append(QChar(odd->second));
        }
    }
    return text;
}

std::optional<QByteArray> encodeCp932Exactly(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    const QHash<char16_t, quint16> &codes = codesOfCharacters();
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {
            bytes.append(char(c));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            bytes.append(char(0xA1 + c - 0xFF61));
        } else if (const auto odd = std::find_if(std::begin(OddSingles), std::end(OddSingles),
                                                 [c](const auto &single) { return single.second == c; });
                   odd != std::end(OddSingles)) {
            bytes.append(char(odd->first));
        } else if (const auto code = codes.constFind(c); code != codes.cend()) {
            bytes.append(char(*code >> 8));
            bytes.append(char(*code & 0xFF));
        } else {
            return std::nullopt; // surrogates included: CP932 holds nothing beyond the BMP
        }
    }
    return bytes;
}
