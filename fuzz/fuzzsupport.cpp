#include "fuzzcheck.h"

#include <QTemporaryDir>

namespace fuzz {

QString scratchFolder()
{
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    return dir.path();
}

bool survivesAsOneLine(const QString &text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    }
    return !text.startsWith(QLatin1Char(' ')) && !text.startsWith(QLatin1Char('\t')) &&
           !text.startsWith(QLatin1Char('"'));
}

} // namespace fuzz
