#include "core/ruleedit.h"

#include "core/rulesolve.h"

#include <algorithm>

namespace
{

using Kind = Rule::Kind;

bool usesPupils(Kind kind)
{
    return kind < Kind::LeaderPerGroup;
}

bool usesGroups(Kind kind)
{
    return kind == Kind::ApartGroups || kind == Kind::LeaderPerGroup || kind == Kind::GenderBalance ||
           kind == Kind::NewGroupmates;
}

bool usesPairs(Kind kind)
{
    return kind == Kind::SamePair || kind == Kind::MixedPairs;
}

bool hasPairs(const Room &room)
{
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        if (room.partnerOf(desk))
            return true;
    }
    return false;
}

// What is missing from the pupils of a rule of `kind`; empty when they will do.
QString pupilsProblem(Kind kind, qsizetype chosen)
{
    if (kind == Kind::Zone && chosen == 0)
        return QStringLiteral("生徒を選んで下さい。");
    if ((kind == Kind::SideBySide || kind == Kind::SamePair) && chosen != 2)
        return QStringLiteral("この条件には、生徒をちょうど2人選んで下さい（いまは%1人です）。").arg(chosen);
    if ((kind == Kind::Apart || kind == Kind::ApartGroups || kind == Kind::Near) && chosen < 2)
        return QStringLiteral("この条件には、生徒を2人以上選んで下さい（いまは%1人です）。").arg(chosen);
    return {};
}

QString zoneProblem(const Zone &zone, const Room &room)
{
    const auto rows = [&room] { return QStringLiteral("この教室の列は、前から1〜%1列目です。").arg(room.rows()); };
    switch (zone.kind) {
    case Zone::Kind::FrontRows:
    case Zone::Kind::BackRows: return zone.count > room.rows() ? rows() : QString();
    case Zone::Kind::Rows: return zone.first + zone.count - 1 > room.rows() || zone.count < 1 ? rows() : QString();
    case Zone::Kind::WindowSide:
    case Zone::Kind::DoorSide:
        return zone.count > room.columns() ? QStringLiteral("この教室の机は、横に%1列です。").arg(room.columns())
                                           : QString();
    case Zone::Kind::Desks: return zone.desks.isEmpty() ? QStringLiteral("席を1つ以上選んで下さい。") : QString();
    }
    return {};
}

} // namespace

std::optional<Rule> finishedRule(Rule chosen, const Room &room, QString *problem)
{
    const Rule defaults;
    const Kind kind = chosen.kind;
    if (!usesPupils(kind))
        chosen.pupils = {}; // not clear(): Qt 6.4 compares a cleared list with a new one through a null pointer
    if (kind == Kind::Zone) {
        Zone &zone = chosen.zone;
        if (zone.kind != Zone::Kind::Rows)
            zone.first = defaults.zone.first;
        if (zone.kind == Zone::Kind::Desks) {
            zone.count = defaults.zone.count;
            QList<int> desks;
            for (int desk : std::as_const(zone.desks)) {
                if (desk >= 1 && desk <= room.deskCount() && !desks.contains(desk))
                    desks.append(desk);
            }
            std::sort(desks.begin(), desks.end());
            zone.desks = desks;
        } else {
            zone.desks = {};
        }
    } else {
        chosen.zone = defaults.zone;
    }
    if (kind != Kind::Apart && kind != Kind::Near)
        chosen.distance = defaults.distance;
    if (kind == Kind::LeaderPerGroup)
        chosen.tag = chosen.tag.trimmed();
    else
        chosen.tag.clear();
    if (kind != Kind::NewDesk && kind != Kind::NewDeskmates)
        chosen.charts = defaults.charts;

    QString why = pupilsProblem(kind, chosen.pupils.size());
    if (why.isEmpty() && kind == Kind::Zone)
        why = zoneProblem(chosen.zone, room);
    if (why.isEmpty() && kind == Kind::LeaderPerGroup && chosen.tag.isEmpty())
        why = QStringLiteral("各班に1人ずつ置く人の印（班長など）を入れて下さい。");
    // Only the deskmates can be counted over the whole year (0).
    if (why.isEmpty() && (chosen.charts < 0 || (kind == Kind::NewDesk && chosen.charts == 0)))
        why = QStringLiteral("何回前までの席と比べるかを選んで下さい。");
    if (why.isEmpty() && kind == Kind::EvenFrontBack && room.rows() <= 2)
        why = QStringLiteral("この教室は前から%1列目までしかないため、前の席と後ろの席を分けられません。")
                  .arg(room.rows());
    if (why.isEmpty() && usesGroups(kind) && room.groupNumbers().isEmpty())
        why = QStringLiteral("この教室には班がありません。\r「教室の設定」で班を作ってから選んで下さい。");
    if (why.isEmpty() && usesPairs(kind) && !hasPairs(room))
        why = QStringLiteral("この教室には2人組の机がありません。\r「教室の設定」で2人組を作ってから選んで下さい。");
    if (problem)
        *problem = why;
    if (!why.isEmpty())
        return std::nullopt;
    return chosen;
}

QString ruleLine(const Rule &rule, const QStringList &roster)
{
    QString line = (rule.must ? QStringLiteral("必ず：") : QStringLiteral("できれば：")) + rule.text();
    if (rule.kind == Kind::Zone && rule.zone.kind == Zone::Kind::Desks) {
        QStringList desks;
        for (int desk : rule.zone.desks)
            desks.append(QStringLiteral("No.%1").arg(desk));
        line += QStringLiteral("（%1）").arg(desks.join(QStringLiteral("・")));
    }
    QStringList missing;
    for (const QString &pupil : rule.pupils) {
        if (!roster.contains(pupil))
            missing.append(pupil);
    }
    if (!missing.isEmpty())
        line += QStringLiteral("（%1は名簿にいません）").arg(missing.join(QStringLiteral("・")));
    return line;
}

DeskConditions deskConditionsOf(const SeatEntries &entries, const QStringList &roster)
{
    DeskConditions out(entries.texts.size());
    for (qsizetype k = 0; k < entries.texts.size(); ++k) {
        if (entries.ticked.value(k))
            out[k] = DeskCondition::empty();
        else if (roster.contains(entries.texts[k]))
            out[k] = DeskCondition::pinned(entries.texts[k]);
    }
    return out;
}

QString rulesCheckText(const SeatingContext &context, const DeskConditions &conditions, const Rules &rules)
{
    Rules must;
    std::copy_if(rules.cbegin(), rules.cend(), std::back_inserter(must), [](const Rule &r) { return r.must; });
    // Any chart will do: only whether one exists is asked.
    const RuleRun run = drawWithRules(context, conditions, must, [] { return 0.5; });
    switch (run.status) {
    case RuleRun::Status::Drawn: return QStringLiteral("すべての条件を満たす席替えができます。");
    case RuleRun::Status::Impossible: return clashMessage(run);
    case RuleRun::Status::GaveUp: return QStringLiteral("条件が込み入っていて、時間内に確かめきれませんでした。");
    case RuleRun::Status::NoSolver:
        return QStringLiteral("条件を確かめる部品を読み込めませんでした（%1）。").arg(run.error);
    }
    return {};
}
