#include "core/chart.h"

#include "core/placement.h"

#include <QSet>

#include <utility>

DeskCondition DeskCondition::fromText(const QString &text)
{
    if (text.isEmpty())
        return free();
    return text == QStringLiteral("-") ? empty() : pinned(text);
}

QString DeskCondition::text() const
{
    switch (kind) {
    case Kind::Free: return {};
    case Kind::Empty: return QStringLiteral("-");
    case Kind::Pinned: break;
    }
    return pupil;
}

ChartDesk ChartDesk::fromText(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text == QStringLiteral(" ") ? ChartDesk{Kind::Empty, {}} : ChartDesk{Kind::Pupil, text};
}

QString ChartDesk::text() const
{
    switch (kind) {
    case Kind::Free: return {};
    case Kind::Empty: return QStringLiteral(" ");
    case Kind::Pupil: break;
    }
    return pupil;
}

Draw drawChart(const QStringList &roster, const DeskConditions &conditions, const UniformSource &uniform)
{
    QList<std::pair<int, QString>> order;
    order.reserve(roster.size());
    for (const QString &name : roster)
        order.append({keyFromUniform(uniform()), name});
    // The exchange sort of the old draw, so that the same keys give the same order.
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        for (qsizetype j = i + 1; j < order.size(); ++j) {
            if (order[i].first > order[j].first)
                std::swap(order[i], order[j]);
        }
    }
    QSet<QString> pinned;
    for (const DeskCondition &condition : conditions) {
        if (condition.kind == DeskCondition::Kind::Pinned)
            pinned.insert(condition.pupil);
    }
    Draw draw;
    for (const auto &[key, name] : order)
        draw.order.append(name);
    Chart &chart = draw.chart;
    chart.resize(conditions.size());
    auto next = order.cbegin();
    for (qsizetype desk = 0; desk < conditions.size(); ++desk) {
        const DeskCondition &condition = conditions[desk];
        if (condition.kind == DeskCondition::Kind::Empty) {
            chart[desk] = {ChartDesk::Kind::Empty, {}};
        } else if (condition.kind == DeskCondition::Kind::Pinned) {
            chart[desk] = {ChartDesk::Kind::Pupil, condition.pupil};
        } else {
            while (next != order.cend() && pinned.contains(next->second))
                ++next;
            if (next != order.cend())
                chart[desk] = {ChartDesk::Kind::Pupil, (next++)->second};
        }
    }
    return draw;
}

bool drawPossible(const QStringList &roster, const DeskConditions &conditions)
{
    qsizetype empty = 0;
    QSet<QString> pinned;
    for (const DeskCondition &condition : conditions) {
        if (condition.kind == DeskCondition::Kind::Empty) {
            ++empty;
        } else if (condition.kind == DeskCondition::Kind::Pinned) {
            if (roster.count(condition.pupil) != 1 || pinned.contains(condition.pupil))
                return false;
            pinned.insert(condition.pupil);
        }
    }
    return roster.size() + empty <= conditions.size();
}

QStringList chartTexts(const Chart &chart)
{
    QStringList texts;
    for (const ChartDesk &desk : chart)
        texts.append(desk.text());
    return texts;
}

Chart chartFromTexts(const QStringList &texts, int desks)
{
    Chart chart(desks);
    for (int desk = 0; desk < qMin(desks, int(texts.size())); ++desk)
        chart[desk] = ChartDesk::fromText(texts.at(desk));
    return chart;
}

QSet<QString> namesIn(const QStringList &texts)
{
    QSet<QString> names;
    for (const QString &text : texts) {
        if (!text.trimmed().isEmpty())
            names.insert(text);
    }
    return names;
}
