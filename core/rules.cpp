#include "core/rules.h"

#include <QJsonArray>

#include <algorithm>
#include <cstdlib>

namespace
{

using Kind = Rule::Kind;

struct KindName {
    Kind kind;
    const char *name;
};
constexpr KindName KindNames[] = {
    {Kind::Zone, "zone"},
    {Kind::Apart, "apart"},
    {Kind::ApartGroups, "apart-groups"},
    {Kind::Near, "near"},
    {Kind::SideBySide, "side-by-side"},
    {Kind::SamePair, "same-pair"},
    {Kind::LeaderPerGroup, "leader-per-group"},
    {Kind::GenderBalance, "gender-balance"},
    {Kind::Alternate, "alternate"},
    {Kind::MixedPairs, "mixed-pairs"},
};
constexpr const char *ZoneNames[] = {"front", "back", "rows", "window", "door", "desks"};

int chebyshev(RoomCell a, RoomCell b)
{
    return std::max(std::abs(a.row - b.row), std::abs(a.column - b.column));
}

bool sideBySide(const Room &room, RoomCell a, RoomCell b)
{
    if (a.row != b.row || std::abs(a.column - b.column) != 1)
        return false;
    return !room.aisleAfter(std::min(a.column, b.column));
}

QString names(const QStringList &pupils, const QString &joint)
{
    return pupils.join(joint);
}

} // namespace

QList<int> Zone::desksIn(const Room &room) const
{
    QList<int> out;
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell cell = *room.cellOfDesk(desk);
        bool in = false;
        switch (kind) {
        case Kind::FrontRows: in = cell.row < count; break;
        case Kind::BackRows: in = cell.row >= room.rows() - count; break;
        case Kind::Rows: in = cell.row >= first - 1 && cell.row < first - 1 + count; break;
        // The windows are on the pupils' left, as in most Japanese classrooms.
        case Kind::WindowSide: in = cell.column < count; break;
        case Kind::DoorSide: in = cell.column >= room.columns() - count; break;
        case Kind::Desks: in = desks.contains(desk); break;
        }
        if (in)
            out.append(desk);
    }
    return out;
}

QString Zone::label() const
{
    switch (kind) {
    case Kind::FrontRows: return QStringLiteral("前%1列").arg(count);
    case Kind::BackRows: return QStringLiteral("後ろ%1列").arg(count);
    case Kind::Rows:
        return count == 1 ? QStringLiteral("前から%1列目").arg(first)
                          : QStringLiteral("前から%1〜%2列目").arg(first).arg(first + count - 1);
    case Kind::WindowSide: return QStringLiteral("窓側%1列").arg(count);
    case Kind::DoorSide: return QStringLiteral("廊下側%1列").arg(count);
    case Kind::Desks: return QStringLiteral("指定した%1席").arg(desks.size());
    }
    return {};
}

QString Rule::text() const
{
    switch (kind) {
    case Kind::Zone: return QStringLiteral("%1を%2に").arg(names(pupils, QStringLiteral("・")), zone.label());
    case Kind::Apart: return QStringLiteral("%1を%2席以上離す").arg(names(pupils, QStringLiteral("と"))).arg(distance);
    case Kind::ApartGroups: return QStringLiteral("%1を別の班に").arg(names(pupils, QStringLiteral("と")));
    case Kind::Near: return QStringLiteral("%1を%2席以内に").arg(names(pupils, QStringLiteral("と"))).arg(distance);
    case Kind::SideBySide: return QStringLiteral("%1を隣に").arg(names(pupils, QStringLiteral("と")));
    case Kind::SamePair: return QStringLiteral("%1を同じ机の組に").arg(names(pupils, QStringLiteral("と")));
    case Kind::LeaderPerGroup: return QStringLiteral("各班に%1を1人").arg(tag);
    case Kind::GenderBalance: return QStringLiteral("各班の男女の数をそろえる");
    case Kind::Alternate: return QStringLiteral("男女を交互に");
    case Kind::MixedPairs: return QStringLiteral("机の組を男女に");
    }
    return {};
}

QJsonObject Rule::toJson() const
{
    QJsonObject json;
    for (const KindName &k : KindNames) {
        if (k.kind == kind)
            json[QStringLiteral("kind")] = QString::fromLatin1(k.name);
    }
    json[QStringLiteral("must")] = must;
    if (!pupils.isEmpty())
        json[QStringLiteral("pupils")] = QJsonArray::fromStringList(pupils);
    if (kind == Kind::Zone) {
        QJsonObject z;
        z[QStringLiteral("kind")] = QString::fromLatin1(ZoneNames[int(zone.kind)]);
        if (zone.kind == Zone::Kind::Desks) {
            QJsonArray desks;
            for (int d : zone.desks)
                desks.append(d);
            z[QStringLiteral("desks")] = desks;
        } else {
            z[QStringLiteral("count")] = zone.count;
            if (zone.kind == Zone::Kind::Rows)
                z[QStringLiteral("first")] = zone.first;
        }
        json[QStringLiteral("zone")] = z;
    }
    if (kind == Kind::Apart || kind == Kind::Near)
        json[QStringLiteral("distance")] = distance;
    if (kind == Kind::LeaderPerGroup)
        json[QStringLiteral("tag")] = tag;
    return json;
}

std::optional<Rule> Rule::fromJson(const QJsonObject &json, QString *error)
{
    const auto fail = [error](const QString &why) -> std::optional<Rule> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    Rule rule;
    const QString kindName = json.value(QStringLiteral("kind")).toString();
    const auto kind = std::find_if(std::begin(KindNames), std::end(KindNames),
                                   [&](const KindName &k) { return kindName == QLatin1String(k.name); });
    if (kind == std::end(KindNames))
        return fail(QStringLiteral("知らない種類の条件です（%1）。").arg(kindName));
    rule.kind = kind->kind;
    rule.must = json.value(QStringLiteral("must")).toBool(true);
    for (const QJsonValue &v : json.value(QStringLiteral("pupils")).toArray())
        rule.pupils.append(v.toString());
    const int needed = rule.kind == Kind::Zone ? 1 : (rule.kind >= Kind::LeaderPerGroup ? 0 : 2);
    if (rule.pupils.size() < needed || rule.pupils.contains(QString()))
        return fail(QStringLiteral("条件「%1」の生徒が足りません。").arg(rule.text()));
    if (rule.kind == Kind::Zone) {
        const QJsonObject z = json.value(QStringLiteral("zone")).toObject();
        const QString zoneName = z.value(QStringLiteral("kind")).toString();
        const auto it = std::find_if(std::begin(ZoneNames), std::end(ZoneNames),
                                     [&](const char *n) { return zoneName == QLatin1String(n); });
        if (it == std::end(ZoneNames))
            return fail(QStringLiteral("知らない場所の指定です（%1）。").arg(zoneName));
        rule.zone.kind = Zone::Kind(it - std::begin(ZoneNames));
        rule.zone.count = z.value(QStringLiteral("count")).toInt(2);
        rule.zone.first = z.value(QStringLiteral("first")).toInt(1);
        for (const QJsonValue &v : z.value(QStringLiteral("desks")).toArray())
            rule.zone.desks.append(v.toInt());
        if (rule.zone.count < 1 || rule.zone.count > Room::MaxRows || rule.zone.first < 1 ||
            rule.zone.first > Room::MaxRows)
            return fail(QStringLiteral("条件「%1」の場所が正しくありません。").arg(rule.text()));
    }
    rule.distance = json.value(QStringLiteral("distance")).toInt(2);
    if (rule.distance < 1 || rule.distance > Room::MaxRows)
        return fail(QStringLiteral("条件「%1」の席数が正しくありません。").arg(rule.text()));
    rule.tag = json.value(QStringLiteral("tag")).toString();
    if (rule.kind == Kind::LeaderPerGroup && rule.tag.isEmpty())
        return fail(QStringLiteral("「各班に1人」の条件に印がありません。"));
    return rule;
}

namespace
{

// Where each pupil of the chart sits (desk number), by name.
QHash<QString, int> deskOfPupil(const Chart &chart)
{
    QHash<QString, int> out;
    for (qsizetype k = 0; k < chart.size(); ++k) {
        if (chart[k].kind == ChartDesk::Kind::Pupil)
            out.insert(chart[k].pupil, int(k + 1));
    }
    return out;
}

Gender genderAt(const SeatingContext &c, const Chart &chart, int desk)
{
    const ChartDesk &d = chart.value(desk - 1);
    return d.kind == ChartDesk::Kind::Pupil ? c.info.value(d.pupil).gender : Gender::Unset;
}

bool pairwise(const Rule &rule, const QHash<QString, int> &desks, const std::function<bool(int, int)> &holds)
{
    for (qsizetype i = 0; i < rule.pupils.size(); ++i) {
        for (qsizetype j = i + 1; j < rule.pupils.size(); ++j) {
            const int a = desks.value(rule.pupils[i]), b = desks.value(rule.pupils[j]);
            if (a && b && !holds(a, b))
                return false;
        }
    }
    return true;
}

bool groupsHold(const SeatingContext &c, const Chart &chart, const std::function<bool(const QStringList &)> &holds)
{
    QHash<int, QStringList> members;
    for (int group : c.room.groupNumbers())
        members[group];
    for (qsizetype k = 0; k < chart.size(); ++k) {
        if (chart[k].kind == ChartDesk::Kind::Pupil && c.room.groupOf(int(k + 1)))
            members[c.room.groupOf(int(k + 1))].append(chart[k].pupil);
    }
    return std::all_of(members.cbegin(), members.cend(), holds);
}

// Two desks next to each other never hold two boys or two girls.
bool mixed(const SeatingContext &c, const Chart &chart, int a, int b)
{
    const Gender x = genderAt(c, chart, a), y = genderAt(c, chart, b);
    return x == Gender::Unset || y == Gender::Unset || x != y;
}

} // namespace

bool keepsRule(const Rule &rule, const SeatingContext &c, const Chart &chart)
{
    const Room &room = c.room;
    const QHash<QString, int> desks = deskOfPupil(chart);
    const auto cell = [&room](int desk) { return *room.cellOfDesk(desk); };
    switch (rule.kind) {
    case Kind::Zone: {
        const QList<int> zone = rule.zone.desksIn(room);
        return std::all_of(rule.pupils.cbegin(), rule.pupils.cend(),
                           [&](const QString &p) { return !desks.contains(p) || zone.contains(desks.value(p)); });
    }
    case Kind::Apart:
        return pairwise(rule, desks, [&](int a, int b) { return chebyshev(cell(a), cell(b)) >= rule.distance; });
    case Kind::ApartGroups:
        return pairwise(rule, desks,
                        [&](int a, int b) { return !room.groupOf(a) || room.groupOf(a) != room.groupOf(b); });
    case Kind::Near:
        return pairwise(rule, desks, [&](int a, int b) { return chebyshev(cell(a), cell(b)) <= rule.distance; });
    case Kind::SideBySide:
        return pairwise(rule, desks, [&](int a, int b) { return sideBySide(room, cell(a), cell(b)); });
    case Kind::SamePair: return pairwise(rule, desks, [&](int a, int b) { return room.partnerOf(a) == b; });
    case Kind::LeaderPerGroup:
        return groupsHold(c, chart, [&](const QStringList &members) {
            return std::count_if(members.cbegin(), members.cend(),
                                 [&](const QString &p) { return c.info.value(p).tags.contains(rule.tag); }) == 1;
        });
    case Kind::GenderBalance:
        return groupsHold(c, chart, [&](const QStringList &members) {
            const auto of = [&](Gender g) {
                return std::count_if(members.cbegin(), members.cend(),
                                     [&](const QString &p) { return c.info.value(p).gender == g; });
            };
            return std::abs(of(Gender::Boy) - of(Gender::Girl)) <= 1;
        });
    case Kind::Alternate:
        for (int desk = 1; desk <= room.deskCount(); ++desk) {
            const RoomCell left{cell(desk).row, cell(desk).column - 1};
            if (room.hasDesk(left) && sideBySide(room, cell(desk), left) &&
                !mixed(c, chart, desk, room.deskNumber(left)))
                return false;
        }
        return true;
    case Kind::MixedPairs:
        for (int desk = 1; desk <= room.deskCount(); ++desk) {
            if (room.partnerOf(desk) > desk && !mixed(c, chart, desk, room.partnerOf(desk)))
                return false;
        }
        return true;
    }
    return true;
}

QList<int> brokenRules(const Rules &rules, const SeatingContext &context, const Chart &chart)
{
    QList<int> out;
    for (qsizetype i = 0; i < rules.size(); ++i) {
        if (!keepsRule(rules[i], context, chart))
            out.append(int(i));
    }
    return out;
}
