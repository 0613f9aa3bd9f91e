#include "core/countdownface.h"

#include <array>
#include <utility>

std::optional<QString> countdownFace(const QString &number)
{
    // Some faces start with an ideographic space (U+3000), one with an ordinary space;
    // "＼" and "／" are full-width, "\" is the ASCII backslash.
    static const std::array<std::pair<QString, QString>, 10> faces{{
        {QStringLiteral("9"), QStringLiteral("\u3000o(^_^)／")},
        {QStringLiteral("8"), QStringLiteral("\u3000o(^_^)o")},
        {QStringLiteral("7"), QStringLiteral("＼(^_^)\\")},
        {QStringLiteral("6"), QStringLiteral("＼(^_^)／")},
        {QStringLiteral("5"), QStringLiteral("\u3000\\(^_^)／")},
        {QStringLiteral("4"), QStringLiteral("\u3000o(^_^)o")},
        {QStringLiteral("3"), QStringLiteral("＼(^_^)o")},
        {QStringLiteral("2"), QStringLiteral("\u3000o(^_^)／")},
        {QStringLiteral("1"), QStringLiteral(" (^_^;)")},
        {QStringLiteral("0"), QStringLiteral(" (;ﾟoﾟ)")},
    }};
    for (const auto &[n, face] : faces) {
        if (n == number)
            return face;
    }
    return std::nullopt;
}

CountdownProgress advanceCountdown(int step)
{
    const int reached = step + 1;
    return {reached * 10, reached >= 10 ? 0 : reached};
}
