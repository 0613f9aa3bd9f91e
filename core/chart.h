#pragma once

#include "core/services.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The class's conditions and chart for a room of any size, as types. Desk 1 is index 0.
// The files keep the old texts ("-" for an empty desk in the conditions, " " for an empty
// desk and "" for a free one in a chart); fromText/text convert at that border.

struct DeskCondition {
    enum class Kind { Free, Empty, Pinned };
    Kind kind = Kind::Free;
    QString pupil; // when Pinned

    static DeskCondition free() { return {}; }
    static DeskCondition empty() { return {Kind::Empty, {}}; }
    static DeskCondition pinned(const QString &name) { return {Kind::Pinned, name}; }
    static DeskCondition fromText(const QString &text);
    QString text() const;
    bool operator==(const DeskCondition &) const = default;
};
using DeskConditions = QList<DeskCondition>;

struct ChartDesk {
    enum class Kind { Free, Empty, Pupil };
    Kind kind = Kind::Free;
    QString pupil; // when Pupil

    static ChartDesk fromText(const QString &text);
    QString text() const;
    bool operator==(const ChartDesk &) const = default;
};
using Chart = QList<ChartDesk>;

// The seat change: one key per pupil in roster order, the pupils sorted by key (equal keys
// keep their order), then placed desk by desk around the pinned and empty desks: the free
// desks take the pupils not pinned elsewhere in drawn order, and stay free once they run
// out. `conditions` has one entry per desk; the conditions must have passed their checks.
struct Draw {
    QStringList order; // the pupils as the keys sorted them
    Chart chart;
};
Draw drawChart(const QStringList &roster, const DeskConditions &conditions, const UniformSource &uniform);

// Whether the draw can place every pupil exactly once: each pinned pupil stands once in
// the roster and on one desk only, and the pupils fit the desks not marked empty.
bool drawPossible(const QStringList &roster, const DeskConditions &conditions);

// The texts of the files and windows, desk 1 first.
QStringList chartTexts(const Chart &chart);
// The names among such texts (or a roster's), each once; blank texts are no name.
QSet<QString> namesIn(const QStringList &texts);
Chart chartFromTexts(const QStringList &texts, int desks);
