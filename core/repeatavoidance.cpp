#include "core/repeatavoidance.h"

#include "core/ledger.h"

#include "core/product.h"
#include "core/resultfile.h"
#include "core/resultlog.h"
#include "core/textfile.h"

#include <QJsonDocument>
#include <QSet>

namespace
{

// The pupil on a seat of a chart; empty for a free or empty seat and for seats the chart lacks.
QString pupilAt(const QStringList &chart, int seat)
{
    const QString text = chart.value(seat - 1);
    return text.trimmed().isEmpty() ? QString() : text;
}

// Desks next to each other in a row, with no aisle between: each desk with the one on its
// left as the pupils see it, the desk with the lower number first.
QList<std::pair<int, int>> sideBySideDesks(const Room &room)
{
    QList<std::pair<int, int>> pairs;
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell cell = *room.cellOfDesk(desk);
        const RoomCell left{cell.row, cell.column - 1};
        if (room.hasDesk(left) && !room.aisleAfter(left.column))
            pairs.append({desk, room.deskNumber(left)});
    }
    return pairs;
}

// Pairs in either order.
QString pairKey(const QString &a, const QString &b)
{
    return a < b ? a + QChar(0) + b : b + QChar(0) + a;
}

bool isDesignated(const DeskConditions &conditions, const QString &name)
{
    return conditions.contains(DeskCondition::pinned(name));
}

} // namespace

RepeatRules repeatRules(const SharedState &s)
{
    return {s.OptNoSameSeat, s.OptNoSameNeighbour};
}

Repeats findRepeats(const QStringList &chart, const QStringList &previous, const Room &room,
                    const DeskConditions &conditions, RepeatRules rules)
{
    Repeats out;
    if (rules.seat) {
        for (int k = 1; k <= chart.size(); ++k) {
            const QString name = pupilAt(chart, k);
            if (!name.isEmpty() && name == pupilAt(previous, k) && !isDesignated(conditions, name))
                out.pupils.append(name);
        }
    }
    if (rules.neighbour) {
        const QList<std::pair<int, int>> neighbours = sideBySideDesks(room);
        QSet<QString> before;
        for (const auto &[k, l] : neighbours) {
            const QString a = pupilAt(previous, k), b = pupilAt(previous, l);
            if (!a.isEmpty() && !b.isEmpty())
                before.insert(pairKey(a, b));
        }
        for (const auto &[k, l] : neighbours) {
            const QString a = pupilAt(chart, k), b = pupilAt(chart, l);
            if (a.isEmpty() || b.isEmpty() || !before.contains(pairKey(a, b)))
                continue;
            if (!(isDesignated(conditions, a) && isDesignated(conditions, b)))
                out.neighbours.append({a, b});
        }
    }
    return out;
}

RepeatAvoidingRun shuffleAvoidingRepeats(SharedState &s, const UniformSource &uniform, const QStringList &previous,
                                         RepeatRules rules)
{
    RepeatAvoidingRun best;
    ClassModel &c = s.openClass;
    if (!rules.any() || previous.isEmpty()) {
        shuffleAndPlace(c, uniform);
        best.draws = 1;
        return best;
    }
    // Every draw starts from the roster order the run was given, as the first one does.
    Draw taken;
    for (int draw = 1; draw <= MaxRepeatDraws; ++draw) {
        Draw next = drawChart(c.pupils, c.conditions, uniform);
        const Repeats repeats = findRepeats(chartTexts(next.chart), previous, c.room, c.conditions, rules);
        if (draw == 1 || repeats.count() < best.repeats.count()) {
            best.repeats = repeats;
            taken = std::move(next);
        }
        best.draws = draw;
        if (repeats.count() == 0)
            break;
    }
    c.pupils = std::move(taken.order);
    c.chart = std::move(taken.chart);
    return best;
}

QString rosterKey(const QStringList &names, const Room &room)
{
    QStringList sorted = namesIn(names).values();
    sorted.sort();
    // A chart of another room, even one with as many desks, says nothing about this one's.
    return sorted.join(QChar(0)) + QChar(1) +
           QString::fromUtf8(QJsonDocument(room.toJson()).toJson(QJsonDocument::Compact));
}

QStringList previousChart(const SharedState &s, const QString &folder)
{
    const ClassModel &c = s.openClass;
    if (!s.RosterFileName.isEmpty()) {
        const std::optional<KeptChart> last = lastKeptChart(s.RosterFileName, folder, c.pupils);
        return last && last->room == c.room ? last->seats : QStringList();
    }
    return s.LastCharts.value(rosterKey(c.pupils, c.room));
}

std::optional<MessageText> repeatMessage(const Repeats &repeats)
{
    QStringList parts;
    if (!repeats.pupils.isEmpty())
        parts << QStringLiteral("前回と同じ席になった人がいます。") << repeats.pupils.join(QStringLiteral("、"));
    if (!repeats.neighbours.isEmpty()) {
        QStringList pairs;
        for (const auto &[a, b] : repeats.neighbours)
            pairs.append(a + QStringLiteral("と") + b);
        parts << QStringLiteral("前回と同じ隣になった人がいます。") << pairs.join(QStringLiteral("、"));
    }
    if (parts.isEmpty())
        return std::nullopt;
    return MessageText{parts.join(QLatin1Char('\r')), QString::fromUtf8(product::Title), MsgStyle::Information};
}

std::optional<MessageText> placeForRun(SharedState &s, const UniformSource &uniform, const QString &folder)
{
    const RepeatRules rules = repeatRules(s);
    // The log is read only when an option asks for it.
    const QStringList previous = rules.any() ? previousChart(s, folder) : QStringList();
    const RepeatAvoidingRun run = shuffleAvoidingRepeats(s, uniform, previous, rules);
    s.LastCharts.insert(rosterKey(s.openClass.pupils, s.openClass.room), chartTexts(s.openClass.chart));
    return repeatMessage(run.repeats);
}
