#pragma once

#include "core/chart.h"
#include "core/ledger.h"
#include "core/room.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// What a teacher asks of the seating beyond fixed and empty desks. A rule is either a must
// (必ず: no chart may break it) or a wish (できれば).

enum class Gender { Unset, Boy, Girl };

struct PupilInfo {
    QString reading;
    Gender gender = Gender::Unset;
    QStringList tags; // 班長, 視力 …
    bool operator==(const PupilInfo &) const = default;
};
using PupilInfos = QHash<QString, PupilInfo>; // by name

// The desks a zone rule keeps pupils in, as the teacher chose them.
struct Zone {
    enum class Kind { FrontRows, BackRows, Rows, WindowSide, DoorSide, Desks };
    Kind kind = Kind::FrontRows;
    int first = 1;    // Rows: the first row from the front (1 = next to the teacher's desk)
    int count = 2;    // rows, or columns for the sides
    QList<int> desks; // Desks: desk numbers
    // The desks of `room` the zone holds, ascending.
    QList<int> desksIn(const Room &room) const;
    // "前2列", "後ろ1列", "前から3〜4列目", "窓側2列", "廊下側1列", "指定した6席".
    QString label() const;
    bool operator==(const Zone &) const = default;
};

struct Rule {
    enum class Kind {
        Zone,           // each of `pupils` in `zone`
        Apart,          // `pupils` pairwise at least `distance` desks apart, diagonals counting
        ApartGroups,    // `pupils` pairwise in different 班
        Near,           // `pupils` pairwise within `distance` desks
        SideBySide,     // two pupils next to each other in a row, no aisle between
        SamePair,       // two pupils at one desk pair
        LeaderPerGroup, // one pupil tagged `tag` in each 班
        GenderBalance,  // in each 班 boys and girls differ by at most one
        Alternate,      // desks next to each other in a row hold a boy and a girl
        MixedPairs,     // each desk pair holds a boy and a girl
        LastPattern,    // each desk holds a boy or a girl as it did in the class's last kept chart
        NewDesk,        // nobody on a desk they had in the last `charts` kept charts
        NewDeskmates,   // no deskmate (desk pair or side by side) of the last `charts` kept charts again; 0: the year's
        NewGroupmates,  // no 班-mate of the year's kept charts again
        EvenFrontBack,  // each pupil's front-two-rows and back-two-rows counts over the year as even as the room allows
    };
    Kind kind = Kind::Zone;
    bool must = true;
    QStringList pupils;
    Zone zone;
    int distance = 2;
    QString tag;
    int charts = 1; // NewDesk, NewDeskmates: how many of the last kept charts count (0: all of the year's)

    // How the rule reads in a list and in messages: "山田さんを前2列に", "山田さんと佐藤さんを2席以上離す".
    QString text() const;
    QJsonObject toJson() const;
    static std::optional<Rule> fromJson(const QJsonObject &json, QString *error = nullptr);
    bool operator==(const Rule &) const = default;
};
using Rules = QList<Rule>;

// Everything a rule is judged against.
struct SeatingContext {
    Room room = Room::standard();
    QStringList roster;
    PupilInfos info;
    Ledger year; // the class's kept charts, oldest first, for the rules about earlier charts
};

// The rules of one class in numbers, so that many charts are judged fast: pupils by their
// place in the roster, desks from 0. Names in a rule that are not in the roster are left out.
class RuleBook
{
public:
    RuleBook(const Rules &rules, const SeatingContext &context);

    // Where each pupil sits (-1: not seated) and who sits at each desk (-1: nobody).
    struct Seating {
        QList<int> deskOf;
        QList<int> pupilAt;
        void swapDesks(int a, int b);
    };
    Seating seatingOf(const Chart &chart) const;

    int rules() const { return int(m_rules.size()); }
    bool keeps(int rule, const Seating &s) const;
    // Whether the rule holds after desks a and b swapped, knowing whether it held before:
    // a rule that held is looked at only around the two desks.
    bool keepsAfterSwap(int rule, const Seating &s, int a, int b, bool before) const;
    // The rules a swap of desks a and b can change: those about the whole class and those
    // naming either pupil.
    QList<int> touchedBySwap(const Seating &s, int a, int b) const;

    // What the solver needs: the pupils a rule names, the desks a zone holds, and whether
    // a rule about two pupils holds with them at desks a and b.
    const QList<int> &pupilsOf(int rule) const { return m_rules[rule].pupils; }
    const QList<bool> &zoneOf(int rule) const { return m_rules[rule].zone; }
    bool pairHolds(int rule, int a, int b) const;
    int rowOf(int desk) const { return m_row[desk]; }
    int columnOf(int desk) const { return m_column[desk]; }
    int groupOf(int desk) const { return m_group[desk]; } // -1 for a desk in no 班
    int groups() const { return int(m_groupDesks.size()); }
    // Who sat at `desk` in the class's last chart kept in this room: a boy, a girl, or Unset
    // where the desk takes anyone (nobody sat there, or a pupil gone or of unset gender).
    Gender lastGenderAt(int desk) const { return m_lastGender[desk]; }
    // Desks next to each other in a row with no aisle between, and the desks paired, each once.
    QList<std::pair<int, int>> neighbours() const;
    QList<std::pair<int, int>> pairs() const;
    // Deskmates' desks (either of the above) and the desks of one 班, each two once.
    const QList<std::pair<int, int>> &deskmates() const { return m_deskmates; }
    const QList<std::pair<int, int>> &groupmates() const { return m_groupmates; }

    // The rules about earlier charts, pupil by pupil from the year's charts (a pupil in none
    // has no history and is bound by none of them):
    //  NewDesk: pupils × desks, how often the pupil had the desk in the charts counted;
    //  NewDeskmates, NewGroupmates: pupils × pupils, how often the two were deskmates or 班-mates;
    //  EvenFrontBack: front-two-rows count of pupil p at 2p, back-two-rows count at 2p + 1 (-1: no history).
    const QList<int> &history(int rule) const { return m_rules[rule].history; }
    bool inFront(int desk) const { return m_row[desk] < 2; }
    bool inBack(int desk) const { return m_row[desk] >= m_rows - 2; }
    // What a wish about earlier charts adds to a chart's cost (see the weights in rulesolve.h);
    // 0 for the other kinds.
    int cost(int rule, const Seating &s) const;
    // The part of that cost on desks a and b: what a swap of the two changes.
    int costAround(int rule, const Seating &s, int a, int b) const;

private:
    struct Entry {
        Rule::Kind kind;
        QList<int> pupils;
        QList<bool> zone;   // by desk, for a zone
        QList<bool> tagged; // by pupil, for one per 班
        int distance;
        QList<int> history;                  // the rules about earlier charts, as history() says
        int fewestFront = 0, fewestBack = 0; // EvenFrontBack: the least counts of pupils with history
    };
    void countHistory(Entry &e, const Rule &rule, const SeatingContext &c) const;
    int leastFrontBackCost(const Entry &e, const Seating &s) const;
    int timesSquared(const Entry &e, const Seating &s, int x, int y) const;
    int frontBackCost(const Entry &e, int pupil, int desk) const;
    bool groupHolds(const Entry &rule, int group, const Seating &s) const;
    bool mixed(const Seating &s, int a, int b) const;
    bool mixedAround(const Entry &rule, const Seating &s, int desk) const;
    bool asLastTime(const Seating &s, int desk) const;

    QList<Entry> m_rules;
    QList<int> m_row, m_column, m_group, m_partner, m_left, m_right; // by desk; -1 for none
    QList<QList<int>> m_groupDesks;
    QList<std::pair<int, int>> m_deskmates, m_groupmates;
    QList<QList<int>> m_matesOf; // by desk: its deskmates' desks
    int m_rows = 0;
    QList<Gender> m_gender;     // by pupil
    QList<Gender> m_lastGender; // by desk
    QHash<QString, int> m_pupil;
    QList<QList<int>> m_rulesOfPupil;
    QList<int> m_classRules;
};

// Whether `chart` (one entry per desk) keeps `rule`. A rule naming a pupil who is not in the
// chart is kept: it has nobody to hold.
bool keepsRule(const Rule &rule, const SeatingContext &context, const Chart &chart);
// The rules of `rules` that `chart` breaks, by index.
QList<int> brokenRules(const Rules &rules, const SeatingContext &context, const Chart &chart);
