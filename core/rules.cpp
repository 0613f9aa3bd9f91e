#include "core/rules.h"

#include <QJsonArray>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

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

// Desks (from 0) of deskmates: side by side with no aisle between, or paired; each two once.
QList<std::pair<int, int>> deskmatesIn(const Room &room)
{
    QList<std::pair<int, int>> out;
    for (int desk = 1; desk <= room.deskCount(); ++desk) {
        const RoomCell cell = *room.cellOfDesk(desk);
        const RoomCell right{cell.row, cell.column + 1};
        const int beside = room.hasDesk(right) && sideBySide(room, cell, right) ? room.deskNumber(right) : 0;
        if (beside > 0)
            out.append({desk - 1, beside - 1});
        const int partner = room.partnerOf(desk);
        if (partner > desk && partner != beside)
            out.append({desk - 1, partner - 1});
    }
    return out;
}

// Desks (from 0) of one 班, each two once.
QList<std::pair<int, int>> groupmatesIn(const Room &room)
{
    QList<std::pair<int, int>> out;
    for (int a = 1; a <= room.deskCount(); ++a) {
        for (int b = a + 1; b <= room.deskCount(); ++b) {
            if (room.groupOf(a) != 0 && room.groupOf(a) == room.groupOf(b))
                out.append({a - 1, b - 1});
        }
    }
    return out;
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
    m_rows = room.rows();
    m_deskmates = deskmatesIn(room);
    m_groupmates = groupmatesIn(room);
    m_matesOf.resize(m_row.size());
    for (const auto &[x, y] : std::as_const(m_deskmates)) {
        m_matesOf[x].append(y);
        m_matesOf[y].append(x);
    }
    for (const QString &name : c.roster) {
        if (!m_pupil.contains(name))
            m_pupil.insert(name, int(m_gender.size()));
        m_gender.append(c.info.value(name).gender);
    }
    m_lastGender = lastGenders(c);
    m_rulesOfPupil.resize(m_gender.size());
    for (const Rule &rule : rules) {
        Entry e{rule.kind, {}, {}, {}, rule.distance, {}, 0, 0};
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
        countHistory(e, rule, c);
        if (rule.kind >= Kind::LeaderPerGroup)
            m_classRules.append(int(m_rules.size()));
        else
            for (int p : std::as_const(e.pupils))
                m_rulesOfPupil[p].append(int(m_rules.size()));
        m_rules.append(e);
    }
}

void RuleBook::countHistory(Entry &e, const Rule &rule, const SeatingContext &c) const
{
    const int pupils = int(m_gender.size()), desks = int(m_row.size());
    Ledger charts = c.year;
    switch (rule.kind) {
    case Kind::NewDesk:
        // A desk number of another room is another place.
        charts = charts.mid(std::max<qsizetype>(0, charts.size() - rule.charts));
        charts.removeIf([&](const KeptChart &k) { return k.room != c.room; });
        e.history.fill(0, pupils * desks);
        break;
    case Kind::NewDeskmates:
        if (rule.charts > 0)
            charts = charts.mid(std::max<qsizetype>(0, charts.size() - rule.charts));
        e.history.fill(0, pupils * pupils);
        break;
    case Kind::NewGroupmates: e.history.fill(0, pupils * pupils); break;
    case Kind::EvenFrontBack: e.history.fill(-1, pupils * 2); break;
    default: return;
    }
    for (const KeptChart &chart : std::as_const(charts)) {
        QList<int> at; // pupil by desk of that chart's room
        for (const QString &seat : chart.seats)
            at.append(m_pupil.value(seat, -1));
        at.resize(chart.room.deskCount(), -1);
        const auto together = [&](const QList<std::pair<int, int>> &desks) {
            for (const auto &[x, y] : desks) {
                if (at[x] >= 0 && at[y] >= 0 && at[x] != at[y]) {
                    ++e.history[at[x] * pupils + at[y]];
                    ++e.history[at[y] * pupils + at[x]];
                }
            }
        };
        if (rule.kind == Kind::NewDeskmates)
            together(deskmatesIn(chart.room));
        if (rule.kind == Kind::NewGroupmates)
            together(groupmatesIn(chart.room));
        for (int desk = 0; desk < int(at.size()); ++desk) {
            const int p = at[desk];
            if (p < 0)
                continue;
            if (rule.kind == Kind::NewDesk && desk < desks)
                ++e.history[p * desks + desk];
            if (rule.kind == Kind::EvenFrontBack) {
                const int row = chart.room.cellOfDesk(desk + 1)->row;
                e.history[2 * p] = std::max(e.history[2 * p], 0) + (row < 2 ? 1 : 0);
                e.history[2 * p + 1] = std::max(e.history[2 * p + 1], 0) + (row >= chart.room.rows() - 2 ? 1 : 0);
            }
        }
    }
    if (rule.kind == Kind::EvenFrontBack) {
        // Costs count from the pupils with the fewest, so that a chart sending them costs nothing.
        e.fewestFront = e.fewestBack = std::numeric_limits<int>::max();
        for (int p = 0; p < pupils; ++p) {
            if (e.history[2 * p] >= 0) {
                e.fewestFront = std::min(e.fewestFront, e.history[2 * p]);
                e.fewestBack = std::min(e.fewestBack, e.history[2 * p + 1]);
            }
        }
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
    case Kind::NewDesk:
    case Kind::NewDeskmates:
    case Kind::NewGroupmates: return cost(rule, s) == 0;
    case Kind::EvenFrontBack: return cost(rule, s) <= leastFrontBackCost(e, s);
    }
    return true;
}

// What the front and back rows cost at the least, were the pupils of the chart with a history
// seated anew on the same desks: the rows are as even as the room allows when the chart costs
// no more. Desks are of four sorts (front, back, both in a room of three rows, neither), and
// the least is found sort by sort over the pupils, a count of each sort filled at a time.
int RuleBook::leastFrontBackCost(const Entry &e, const Seating &s) const
{
    std::array<int, 3> seats{}; // desks holding a pupil with a history: front only, back only, both
    for (int desk = 0; desk < int(s.pupilAt.size()); ++desk) {
        const int p = s.pupilAt[desk];
        if (p >= 0 && e.history[2 * p] >= 0 && (inFront(desk) || inBack(desk)))
            ++seats[inFront(desk) && inBack(desk) ? 2 : inBack(desk) ? 1 : 0];
    }
    const int width1 = seats[1] + 1, width2 = seats[2] + 1;
    const auto at = [&](int f, int b, int both) { return (f * width1 + b) * width2 + both; };
    constexpr int Never = std::numeric_limits<int>::max() / 2;
    QList<int> least((seats[0] + 1) * width1 * width2, Never);
    least[0] = 0;
    for (int p = 0; p < int(s.deskOf.size()); ++p) {
        if (s.deskOf[p] < 0 || e.history[2 * p] < 0)
            continue;
        const int front = e.history[2 * p] - e.fewestFront, back = e.history[2 * p + 1] - e.fewestBack;
        for (int f = seats[0]; f >= 0; --f) {
            for (int b = seats[1]; b >= 0; --b) {
                for (int both = seats[2]; both >= 0; --both) {
                    int &here = least[at(f, b, both)];
                    if (f > 0)
                        here = std::min(here, least[at(f - 1, b, both)] + front);
                    if (b > 0)
                        here = std::min(here, least[at(f, b - 1, both)] + back);
                    if (both > 0)
                        here = std::min(here, least[at(f, b, both - 1)] + front + back);
                }
            }
        }
    }
    return least[at(seats[0], seats[1], seats[2])];
}

int RuleBook::timesSquared(const Entry &e, const Seating &s, int x, int y) const
{
    const int a = s.pupilAt[x], b = s.pupilAt[y], pupils = int(s.deskOf.size());
    return a < 0 || b < 0 ? 0 : e.history[a * pupils + b] * e.history[a * pupils + b];
}

int RuleBook::frontBackCost(const Entry &e, int pupil, int desk) const
{
    if (pupil < 0 || e.history[2 * pupil] < 0)
        return 0;
    return (inFront(desk) ? e.history[2 * pupil] - e.fewestFront : 0) +
           (inBack(desk) ? e.history[2 * pupil + 1] - e.fewestBack : 0);
}

int RuleBook::cost(int rule, const Seating &s) const
{
    const Entry &e = m_rules[rule];
    const int desks = int(m_row.size());
    int total = 0;
    switch (e.kind) {
    case Kind::NewDesk:
        for (int desk = 0; desk < desks; ++desk)
            total += s.pupilAt[desk] < 0 ? 0 : e.history[s.pupilAt[desk] * desks + desk];
        break;
    case Kind::NewDeskmates:
    case Kind::NewGroupmates:
        for (const auto &[x, y] : e.kind == Kind::NewDeskmates ? m_deskmates : m_groupmates)
            total += timesSquared(e, s, x, y);
        break;
    case Kind::EvenFrontBack:
        for (int desk = 0; desk < desks; ++desk)
            total += frontBackCost(e, s.pupilAt[desk], desk);
        break;
    default: break;
    }
    return total;
}

int RuleBook::costAround(int rule, const Seating &s, int a, int b) const
{
    const Entry &e = m_rules[rule];
    const int desks = int(m_row.size());
    int total = 0;
    for (const int desk : {a, b}) {
        const int other = desk == a ? -1 : a; // the pair of a and b counted once
        switch (e.kind) {
        case Kind::NewDesk: total += s.pupilAt[desk] < 0 ? 0 : e.history[s.pupilAt[desk] * desks + desk]; break;
        case Kind::NewDeskmates:
            for (int mate : m_matesOf[desk])
                total += mate == other ? 0 : timesSquared(e, s, desk, mate);
            break;
        case Kind::NewGroupmates:
            for (int mate : m_group[desk] < 0 ? QList<int>() : m_groupDesks[m_group[desk]])
                total += mate == other || mate == desk ? 0 : timesSquared(e, s, desk, mate);
            break;
        case Kind::EvenFrontBack: total += frontBackCost(e, s.pupilAt[desk], desk); break;
        default: break;
        }
    }
    return total;
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
    // Kept before, so nothing away from the two desks costs.
    case Kind::NewDesk:
    case Kind::NewDeskmates:
    case Kind::NewGroupmates: return costAround(rule, s, a, b) == 0;
    case Kind::EvenFrontBack: return keeps(rule, s);
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
