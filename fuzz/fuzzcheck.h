#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

// What every input must keep true. A broken rule aborts, which both libFuzzer and the
// replay test report as a failure, with the rule that broke.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: rule broken: %s\n", __FILE__, __LINE__, #condition);                          \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace fuzz
{

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A folder of its own for the round trips through the writers, removed at exit.
QString scratchFolder();

// The bytes of a file the target wrote.
QByteArray fileBytes(const QString &path);

// Whether saved CP932 bytes are valid UTF-8 too, with characters beyond ASCII. The
// reader takes such a file as UTF-8 (a file typed on Linux is far likelier than one
// made only of the few CP932 sequences that look like UTF-8), so its text may differ.
bool readsAsUtf8(const QByteArray &saved);

} // namespace fuzz
