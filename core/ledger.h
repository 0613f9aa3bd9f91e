#pragma once

#include "core/room.h"

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The charts a class kept over its year, oldest first: each chart the teacher saved or
// accepted with 了解. A chart saved twice, or saved and then accepted, is one chart: it is
// known by the run that drew it.
struct KeptChart {
    QString run;    // the run that drew it
    QDateTime kept; // when it was first kept
    Room room = Room::standard();
    QStringList seats; // desk texts as the result files hold them, desk 1 first
    QStringList files; // the result files it was saved as, as the log names them
    bool operator==(const KeptChart &) const = default;
};
using Ledger = QList<KeptChart>;

// A new run's name: unique, so that two copies of the program never share one.
QString newRunName();

// Keeps `chart`: a chart of a run already kept replaces that one's room and seats (a swap by
// hand after a save) and adds its file, keeping when it was first kept; any other is added last.
void keepChart(Ledger &ledger, const KeptChart &chart);
// Removes the chart of `run` (a trial run); false when there was none.
bool forgetChart(Ledger &ledger, const QString &run);

// The charts of the log's files (named relative to `folder`) that exist, read as charts and
// are this class's: most of their pupils are on `roster` and most of the roster sits in
// them (a transfer pupil or two still counts; another class sharing the folder does not).
// Oldest first in the log's order, each file once, kept at the file's time.
Ledger ledgerFromLog(const QStringList &log, const QString &folder, const QStringList &roster);

QJsonArray ledgerJson(const Ledger &ledger);
std::optional<Ledger> ledgerFromJson(const QJsonArray &json, QString *error = nullptr);

// Keeps `chart` in the class file of the roster at `rosterPath`, under the file's lock. A
// class without a ledger first takes in its charts from the result log of `folder`, so that
// its year starts with what it saved before. The reason on failure, else empty.
QString keepChartOfClass(const QString &rosterPath, const KeptChart &chart, const QString &folder,
                         const QStringList &roster);

// Removes the chart of `run` from the class's year, under the file's lock. A class that
// keeps no charts yet first takes in its log's, so that the others stay counted. The
// reason on failure, else empty.
QString forgetChartOfClass(const QString &rosterPath, const QString &run, const QString &folder,
                           const QStringList &roster);

// The class's charts in the result log of `folder`, as a class without a year of charts has them.
Ledger classChartsInLog(const QString &folder, const QStringList &roster);

// The class's year: its ledger, or without one its log's charts. Nothing when its class
// file cannot be read.
std::optional<Ledger> classYear(const QString &rosterPath, const QString &folder, const QStringList &roster);

// The last chart the class kept: its ledger's last, or without a ledger the last of its
// log's charts. Nothing when it has none (or its class file cannot be read).
std::optional<KeptChart> lastKeptChart(const QString &rosterPath, const QString &folder, const QStringList &roster);
