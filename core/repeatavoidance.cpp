#include "core/repeatavoidance.h"

#include "core/product.h"
#include "core/resultfile.h"
#include "core/resultlog.h"
#include "core/textfile.h"

#include <QSet>

namespace
{

// The pupil on a seat of a chart; empty for a free or empty seat and for seats the chart lacks.
QString pupilAt(const QStringList &chart, int seat)
{
    const QString text = chart.value(seat - 1);
    return text.trimmed().isEmpty() ? QString() : text;
}

// Seat k and seat k + 1 lie side by side in one row.
bool sideBySide(int seat)
{
    return seat % 4 != 0 && seat < SeatCount;
}

// Pairs in either order.
QString pairKey(const QString &a, const QString &b)
{
    return a < b ? a + QChar(0) + b : b + QChar(0) + a;
}

bool isDesignated(const Slots &conditions, const QString &name)
{
    for (int k = 1; k <= SeatCount; ++k) {
        if (conditions[size_t(k)] == name)
            return true;
    }
    return false;
}

QSet<QString> nameSet(const QStringList &names)
{
    QSet<QString> set;
    for (const QString &name : names) {
        if (!name.trimmed().isEmpty())
            set.insert(name);
    }
    return set;
}

QStringList chartNames(const QStringList &chart)
{
    QStringList names;
    for (int k = 1; k <= SeatCount; ++k) {
        if (const QString name = pupilAt(chart, k); !name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace

RepeatRules repeatRules(const SharedState &s)
{
    return {s.OptNoSameSeat == QLatin1String("1"), s.OptNoSameNeighbour == QLatin1String("1")};
}

Repeats findRepeats(const QStringList &chart, const QStringList &previous, const Slots &conditions, RepeatRules rules)
{
    Repeats out;
    if (rules.seat) {
        for (int k = 1; k <= SeatCount; ++k) {
            const QString name = pupilAt(chart, k);
            if (!name.isEmpty() && name == pupilAt(previous, k) && !isDesignated(conditions, name))
                out.pupils.append(name);
        }
    }
    if (rules.neighbour) {
        QSet<QString> before;
        for (int k = 1; k <= SeatCount; ++k) {
            const QString a = pupilAt(previous, k), b = pupilAt(previous, k + 1);
            if (sideBySide(k) && !a.isEmpty() && !b.isEmpty())
                before.insert(pairKey(a, b));
        }
        for (int k = 1; k <= SeatCount; ++k) {
            const QString a = pupilAt(chart, k), b = pupilAt(chart, k + 1);
            if (!sideBySide(k) || a.isEmpty() || b.isEmpty() || !before.contains(pairKey(a, b)))
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
    if (!rules.any() || previous.isEmpty()) {
        best.trace = shuffleAndPlace(s, uniform);
        best.draws = 1;
        return best;
    }
    // Every draw starts from the roster order the run was given, as the first one does.
    const Slots names = s.PupilNames;
    const Slots resultBefore = s.SeatResult;
    Slots bestNames, bestResult;
    for (int draw = 1; draw <= MaxRepeatDraws; ++draw) {
        s.PupilNames = names;
        s.SeatResult = resultBefore;
        const PlacementTrace trace = shuffleAndPlace(s, uniform);
        const Repeats repeats = findRepeats(seatResultTexts(s), previous, s.SeatConditions, rules);
        if (draw == 1 || repeats.count() < best.repeats.count()) {
            best.trace = trace;
            best.repeats = repeats;
            bestNames = s.PupilNames;
            bestResult = s.SeatResult;
        }
        best.draws = draw;
        if (repeats.count() == 0)
            break;
    }
    s.PupilNames = bestNames;
    s.SeatResult = bestResult;
    return best;
}

QString rosterKey(const QStringList &names)
{
    QStringList sorted = nameSet(names).values();
    sorted.sort();
    return sorted.join(QChar(0));
}

QStringList newestLoggedChart(const QStringList &log, const QString &folder, const QStringList &names)
{
    const QSet<QString> wanted = nameSet(names);
    if (wanted.isEmpty())
        return {};
    for (auto it = log.crbegin(); it != log.crend(); ++it) {
        if (it->isEmpty())
            continue;
        const QString path = findFileNoCase(folder, *it);
        if (path.isEmpty())
            continue;
        const ResultFileRead read = readResultFile(path);
        if (read.ok && nameSet(chartNames(read.seats)) == wanted)
            return read.seats;
    }
    return {};
}

QStringList previousChart(const SharedState &s, const QString &folder)
{
    const QStringList names = rosterNames(s);
    const auto remembered = s.LastCharts.constFind(rosterKey(names));
    if (remembered != s.LastCharts.cend())
        return *remembered;
    const FieldsRead log = readResultLog(folder);
    return log.ok ? newestLoggedChart(pastLogEntries(log.fields), folder, names) : QStringList();
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
    s.LastCharts.insert(rosterKey(rosterNames(s)), seatResultTexts(s));
    return repeatMessage(run.repeats);
}
