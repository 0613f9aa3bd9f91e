// Times the file readers on large inputs: narabin_bench_readers <folder> [reader...]
// Each subfolder of <folder> is one shape of input, held in a file named as the
// result log ("ならびん.ini"), so the same file serves every reader. Prints one line
// per reader and shape: the median of three runs in milliseconds, whether the reader
// took the file or refused it, and "ok" or "SLOW" against the 500 ms target.
#include "core/helpfile.h"
#include "core/ledger.h"
#include "core/pastedtable.h"
#include "core/repeatavoidance.h"
#include "core/resultfile.h"
#include "core/resultlog.h"
#include "core/rosterfile.h"
#include "core/seatrecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace
{

constexpr double TargetMs = 500;
// A reader ten times over its target is not run again: three runs of one that
// takes a minute tell nothing the first did not.
constexpr double RepeatBelowMs = 10 * TargetMs;

struct Reader {
    const char *name;
    // Reads the shape in `folder` (its file is `path`); returns what became of it.
    std::function<QString(const QString &folder, const QString &path)> read;
};

QString rosterOutcome(const RosterRead &r)
{
    switch (r.outcome) {
    case RosterRead::Outcome::Read: return QStringLiteral("read (names: %1)").arg(r.names.size());
    case RosterRead::Outcome::NotOpened: return QStringLiteral("refused (not opened)");
    case RosterRead::Outcome::NotText: return QStringLiteral("refused (no roster text)");
    case RosterRead::Outcome::TooMany: return QStringLiteral("refused (more than %1 names)").arg(MaxRosterNames);
    }
    return QStringLiteral("?");
}

const std::vector<Reader> readers = {
    {"readRosterFile", [](const QString &, const QString &path) { return rosterOutcome(readRosterFile(path)); }},
    {"readResultFile",
     [](const QString &, const QString &path) {
         const ResultFileRead r = readResultFile(path);
         return r.ok ? QStringLiteral("read (seats: %1)").arg(r.seats.size()) : QStringLiteral("refused");
     }},
    {"readResultLog",
     [](const QString &folder, const QString &) {
         const FieldsRead r = readResultLog(folder);
         return r.ok ? QStringLiteral("read (entries: %1)").arg(r.fields.size()) : QStringLiteral("refused");
     }},
    // The result files the log lists, as the seat record and the check against the
    // last seats read them.
    {"ledgerFromLog",
     [](const QString &folder, const QString &) {
         const FieldsRead log = readResultLog(folder);
         const Ledger charts = log.ok ? ledgerFromLog(pastLogEntries(log.fields), folder, {"生徒1"}) : Ledger();
         return QStringLiteral("read (charts: %1)").arg(charts.size());
     }},
    {"loadHelpFile",
     [](const QString &, const QString &path) {
         const HelpLoad r = loadHelpFile(path);
         return r.ok ? QStringLiteral("read (topics: %1)").arg(r.file.topics.size()) : QStringLiteral("refused");
     }},
    // The file's text as the clipboard would hand it over.
    {"readPastedTable",
     [](const QString &, const QString &path) {
         QFile file(path);
         if (!file.open(QIODevice::ReadOnly))
             return QStringLiteral("refused (not opened)");
         const PastedTable t = readPastedTable(QString::fromUtf8(file.readAll()));
         return QStringLiteral("read (rows: %1)").arg(t.rows.size());
     }},
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder of shapes> [reader...]\n", argv[0]);
        return 2;
    }
    std::vector<Reader> chosen;
    for (const Reader &reader : readers) {
        if (argc == 2 ||
            std::any_of(argv + 2, argv + argc, [&](const char *a) { return std::strcmp(a, reader.name) == 0; }))
            chosen.push_back(reader);
    }
    if (chosen.size() != (argc == 2 ? readers.size() : size_t(argc - 2))) {
        std::fprintf(stderr, "unknown reader; the readers are readRosterFile readResultFile readResultLog "
                             "ledgerFromLog loadHelpFile readPastedTable\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QStringList shapes = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (shapes.isEmpty()) {
        std::fprintf(stderr, "no shapes in %s\n", argv[1]);
        return 2;
    }

    int slow = 0;
    std::printf("%-17s %-18s %10s  %-5s %s\n", "reader", "shape", "ms", "", "outcome");
    for (const Reader &reader : chosen) {
        for (const QString &shape : shapes) {
            const QString folder = root.filePath(shape);
            const QString path = QDir(folder).filePath(resultLogName());
            // A folder without its file would time readResultLog's "no log yet".
            if (!QFileInfo(path).isFile()) {
                std::fprintf(stderr, "%s is missing\n", qPrintable(path));
                return 2;
            }
            std::vector<double> times;
            QString outcome;
            for (int run = 0; run < 3; ++run) {
                const auto start = std::chrono::steady_clock::now();
                outcome = reader.read(folder, path);
                times.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
                if (times.back() >= RepeatBelowMs)
                    break;
            }
            std::sort(times.begin(), times.end());
            const double ms = times[times.size() / 2];
            const bool ok = ms < TargetMs;
            slow += ok ? 0 : 1;
            std::printf("%-17s %-18s %10.1f  %-5s %s%s\n", reader.name, qPrintable(shape), ms, ok ? "ok" : "SLOW",
                        qPrintable(outcome), times.size() == 1 ? " [1 run]" : "");
            std::fflush(stdout);
        }
    }
    std::printf("%d of %zu over %.0f ms\n", slow, chosen.size() * size_t(shapes.size()), TargetMs);
    return 0;
}
