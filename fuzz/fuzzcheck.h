#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

// What every input must keep true. A broken rule aborts, which both libFuzzer and the
// replay test report as a failure, with the rule that broke.
#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: rule broken: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

namespace fuzz {

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A folder of its own for the round trips through the writers, removed at exit.
QString scratchFolder();

// Whether a text read back after being written as one line comes back as this one
// field: no delimiter inside, nothing the reader strips or takes as a quote in front.
bool survivesAsOneLine(const QString &text);

} // namespace fuzz
