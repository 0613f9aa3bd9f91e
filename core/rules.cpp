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
    {Kind::LastPattern, "last-pattern"},
    {Kind::NewDesk, "new-desk"},
    {Kind::NewDeskmates, "new-deskmates"},
    {Kind::NewGroupmates, "new-groupmates"},
    {Kind::EvenFrontBack, "even-front-back"},
};
constexpr const char *ZoneNames[] = {"front", "back", "rows", "window", "door", "desks"};

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

// Whether each desk held a boy or a girl in the last chart the class kept in this room; a
// chart of another room numbers its desks otherwise.
QList<Gender> lastGenders(const SeatingContext &c)
{
    QList<Gender> out(c.room.deskCount(), Gender::Unset);
    const auto last =
        std::find_if(c.year.crbegin(), c.year.crend(), [&](const KeptChart &k) { return k.room == c.room; });
    for (qsizetype k = 0; last != c.year.crend() && k < out.size() && k < last->seats.size(); ++k) {
        if (c.roster.contains(last->seats[k]))
            out[k] = c.info.value(last->seats[k]).gender;
    }
    return out;
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
    case Kind::LastPattern: return QStringLiteral("男女の並びを前回と同じに");
    case Kind::NewDesk:
        return charts == 1 ? QStringLiteral("前回と同じ席にしない")
                           : QStringLiteral("過去%1回と同じ席にしない").arg(charts);
    case Kind::NewDeskmates:
        return charts == 0   ? QStringLiteral("今年隣になった人と隣にしない")
               : charts == 1 ? QStringLiteral("前回と同じ隣にしない")
                             : QStringLiteral("過去%1回と同じ隣にしない").arg(charts);
    case Kind::NewGroupmates: return QStringLiteral("今年同じ班になった人と同じ班にしない");
    case Kind::EvenFrontBack: return QStringLiteral("前と後ろの席を1年で公平に");
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
    if (kind == Kind::NewDesk || kind == Kind::NewDeskmates)
        json[QStringLiteral("charts")] = charts;
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
    rule.charts = json.value(QStringLiteral("charts")).toInt(1);
    if (rule.charts < 0 || (rule.kind == Kind::NewDesk && rule.charts == 0))
        return fail(QStringLiteral("条件「%1」の回数が正しくありません。").arg(rule.text()));
    return rule;
}

RuleBook::RuleBook(const Rules &rules, const SeatingContext &c)
{
    const Room &room = c.room;
    const QList<int> numbers = room.groupNumbers();
    m_groupDesks.resize(numbers.size());
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell cell = *room.cellOfDesk(desk);
        m_row.append(cell.row);
        m_column.append(cell.column);
        const int group = int(numbers.indexOf(room.groupOf(desk)));
        m_group.append(group);
        if (group >= 0)
            m_groupDesks[group].append(desk - 1);
        m_partner.append(room.partnerOf(desk) - 1);
        const auto beside = [&](int column) {
            const RoomCell other{cell.row, column};
            return room.hasDesk(other) && sideBySide(room, cell, other) ? room.deskNumber(other) - 1 : -1;
        };
        m_left.append(beside(cell.column - 1));
        m_right.append(beside(cell.column + 1));
    }
    for (const QString &name : c.roster) {
        if (!m_pupil.contains(name))
            m_pupil.insert(name, int(m_gender.size()));
        m_gender.append(c.info.value(name).gender);
    }
    m_lastGender = lastGenders(c);
    m_rulesOfPupil.resize(m_gender.size());
    for (const Rule &rule : rules) {
        Entry e{rule.kind, {}, {}, {}, rule.distance};
        for (const QString &name : rule.pupils) {
            if (const int p = m_pupil.value(name, -1); p >= 0 && !e.pupils.contains(p))
                e.pupils.append(p);
        }
        if (rule.kind == Kind::Zone) {
            e.zone.fill(false, room.deskCount());
            for (int desk : rule.zone.desksIn(room))
                e.zone[desk - 1] = true;
        }
        if (rule.kind == Kind::LeaderPerGroup) {
            for (const QString &name : c.roster)
                e.tagged.append(c.info.value(name).tags.contains(rule.tag));
        }
        if (rule.kind >= Kind::LeaderPerGroup)
            m_classRules.append(int(m_rules.size()));
        else
            for (int p : std::as_const(e.pupils))
                m_rulesOfPupil[p].append(int(m_rules.size()));
        m_rules.append(e);
    }
}

void RuleBook::Seating::swapDesks(int a, int b)
{
    std::swap(pupilAt[a], pupilAt[b]);
    if (pupilAt[a] >= 0)
        deskOf[pupilAt[a]] = a;
    if (pupilAt[b] >= 0)
        deskOf[pupilAt[b]] = b;
}

RuleBook::Seating RuleBook::seatingOf(const Chart &chart) const
{
    Seating s{QList<int>(m_gender.size(), -1), QList<int>(m_row.size(), -1)};
    for (qsizetype k = 0; k < chart.size() && k < s.pupilAt.size(); ++k) {
        const int p = chart[k].kind == ChartDesk::Kind::Pupil ? m_pupil.value(chart[k].pupil, -1) : -1;
        if (p >= 0) {
            s.pupilAt[k] = p;
            s.deskOf[p] = int(k);
        }
    }
    return s;
}

bool RuleBook::pairHolds(int rule, int a, int b) const
{
    const Entry &e = m_rules[rule];
    const int apart = std::max(std::abs(m_row[a] - m_row[b]), std::abs(m_column[a] - m_column[b]));
    switch (e.kind) {
    case Kind::Apart: return apart >= e.distance;
    case Kind::ApartGroups: return m_group[a] < 0 || m_group[a] != m_group[b];
    case Kind::Near: return apart <= e.distance;
    case Kind::SideBySide: return m_left[a] == b || m_right[a] == b;
    case Kind::SamePair: return m_partner[a] == b;
    default: return true;
    }
}

bool RuleBook::groupHolds(const Entry &rule, int group, const Seating &s) const
{
    int count = 0;
    for (int desk : m_groupDesks[group]) {
        const int p = s.pupilAt[desk];
        if (p < 0)
            continue;
        if (rule.kind == Kind::LeaderPerGroup)
            count += rule.tagged[p] ? 1 : 0;
        else
            count += m_gender[p] == Gender::Boy ? 1 : m_gender[p] == Gender::Girl ? -1 : 0;
    }
    return rule.kind == Kind::LeaderPerGroup ? count == 1 : std::abs(count) <= 1;
}

// Two desks next to each other never hold two boys or two girls.
bool RuleBook::mixed(const Seating &s, int a, int b) const
{
    const int x = s.pupilAt[a], y = s.pupilAt[b];
    return x < 0 || y < 0 || m_gender[x] == Gender::Unset || m_gender[x] != m_gender[y];
}

bool RuleBook::mixedAround(const Entry &rule, const Seating &s, int desk) const
{
    if (rule.kind == Kind::MixedPairs)
        return m_partner[desk] < 0 || mixed(s, desk, m_partner[desk]);
    return (m_left[desk] < 0 || mixed(s, desk, m_left[desk])) && (m_right[desk] < 0 || mixed(s, desk, m_right[desk]));
}

// A boy never where a girl sat last time, nor a girl where a boy sat.
bool RuleBook::asLastTime(const Seating &s, int desk) const
{
    const int p = s.pupilAt[desk];
    const Gender last = m_lastGender[desk];
    return p < 0 || last == Gender::Unset || m_gender[p] == Gender::Unset || m_gender[p] == last;
}

bool RuleBook::keeps(int rule, const Seating &s) const
{
    const Entry &e = m_rules[rule];
    switch (e.kind) {
    case Kind::Zone:
        return std::all_of(e.pupils.cbegin(), e.pupils.cend(),
                           [&](int p) { return s.deskOf[p] < 0 || e.zone[s.deskOf[p]]; });
    case Kind::Apart:
    case Kind::ApartGroups:
    case Kind::Near:
    case Kind::SideBySide:
    case Kind::SamePair:
        for (qsizetype i = 0; i < e.pupils.size(); ++i) {
            for (qsizetype j = i + 1; j < e.pupils.size(); ++j) {
                const int a = s.deskOf[e.pupils[i]], b = s.deskOf[e.pupils[j]];
                if (a >= 0 && b >= 0 && !pairHolds(rule, a, b))
                    return false;
            }
        }
        return true;
    case Kind::LeaderPerGroup:
    case Kind::GenderBalance:
        for (int group = 0; group < groups(); ++group) {
            if (!groupHolds(e, group, s))
                return false;
        }
        return true;
    case Kind::Alternate:
    case Kind::MixedPairs:
        for (int desk = 0; desk < int(m_row.size()); ++desk) {
            if (!mixedAround(e, s, desk))
                return false;
        }
        return true;
    case Kind::LastPattern:
        for (int desk = 0; desk < int(m_row.size()); ++desk) {
            if (!asLastTime(s, desk))
                return false;
        }
        return true;
    // Kept by every chart until the rules about earlier charts are judged.
    case Kind::NewDesk:
    case Kind::NewDeskmates:
    case Kind::NewGroupmates:
    case Kind::EvenFrontBack: return true;
    }
    return true;
}

QList<int> RuleBook::touchedBySwap(const Seating &s, int a, int b) const
{
    QList<int> out = m_classRules;
    for (int p : {s.pupilAt[a], s.pupilAt[b]}) {
        for (int r : p >= 0 ? m_rulesOfPupil[p] : QList<int>()) {
            if (!out.contains(r))
                out.append(r);
        }
    }
    return out;
}

bool RuleBook::keepsAfterSwap(int rule, const Seating &s, int a, int b, bool before) const
{
    if (!before)
        return keeps(rule, s);
    const Entry &e = m_rules[rule];
    switch (e.kind) {
    case Kind::LeaderPerGroup:
    case Kind::GenderBalance:
        return m_group[a] == m_group[b] ||
               ((m_group[a] < 0 || groupHolds(e, m_group[a], s)) && (m_group[b] < 0 || groupHolds(e, m_group[b], s)));
    case Kind::Alternate:
    case Kind::MixedPairs: return mixedAround(e, s, a) && mixedAround(e, s, b);
    case Kind::LastPattern: return asLastTime(s, a) && asLastTime(s, b);
    default:
        if (!e.pupils.contains(s.pupilAt[a]) && !e.pupils.contains(s.pupilAt[b]))
            return true;
        return keeps(rule, s);
    }
}

QList<std::pair<int, int>> RuleBook::neighbours() const
{
    QList<std::pair<int, int>> out;
    for (int desk = 0; desk < int(m_right.size()); ++desk) {
        if (m_right[desk] >= 0)
            out.append({desk, m_right[desk]});
    }
    return out;
}

QList<std::pair<int, int>> RuleBook::pairs() const
{
    QList<std::pair<int, int>> out;
    for (int desk = 0; desk < int(m_partner.size()); ++desk) {
        if (m_partner[desk] > desk)
            out.append({desk, m_partner[desk]});
    }
    return out;
}

namespace
{

// A chart may hold pupils the class no longer has: each rule is judged among the pupils it seats.
SeatingContext seatedIn(const SeatingContext &c, const Chart &chart)
{
    SeatingContext seated{c.room, {}, c.info, c.year};
    for (const ChartDesk &desk : chart) {
        if (desk.kind == ChartDesk::Kind::Pupil)
            seated.roster.append(desk.pupil);
    }
    return seated;
}

} // namespace

bool keepsRule(const Rule &rule, const SeatingContext &c, const Chart &chart)
{
    return brokenRules({rule}, c, chart).isEmpty();
}

QList<int> brokenRules(const Rules &rules, const SeatingContext &context, const Chart &chart)
{
    const RuleBook book(rules, seatedIn(context, chart));
    const RuleBook::Seating seating = book.seatingOf(chart);
    QList<int> out;
    for (int r = 0; r < book.rules(); ++r) {
        if (!book.keeps(r, seating))
            out.append(r);
    }
    return out;
}
