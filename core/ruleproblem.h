#pragma once

#include <QList>
#include <QMap>

#include <utility>

// Seating rules as plain constraints over numbers, for a solver: pupil p (0..pupils - 1)
// sits on desk deskOf[p] (0..desks - 1), no two on one desk. Every constraint names the
// rule it comes from, so that a clash can be traced back to the teacher's rules.
struct RuleProblem {
    int desks = 0;
    int pupils = 0;

    // The pupil sits on one of `allowed`.
    struct Within {
        int rule = 0;
        int pupil = 0;
        QList<int> allowed;
    };
    // The two pupils' desks are one of the pairs `allowed`.
    struct Pair {
        int rule = 0;
        int a = 0, b = 0;
        QList<std::pair<int, int>> allowed;
    };
    // The larger of the row and column differences of the two pupils' desks is at least
    // (apart) or at most `distance`.
    struct Distance {
        int rule = 0;
        int a = 0, b = 0;
        int distance = 1;
        bool apart = true;
    };
    // The two pupils sit at desks of different labels (labelOfDesk).
    struct Unequal {
        int rule = 0;
        int a = 0, b = 0;
        QList<int> labelOfDesk;
    };
    // Of `pupils`, exactly `exactly` sit in each group (groupOfDesk: -1 for a desk in none).
    struct PerGroup {
        int rule = 0;
        QList<int> pupils;
        QList<int> groupOfDesk;
        int groups = 0;
        int exactly = 1;
    };
    // In each group the counts of `first` and `second` differ by at most one.
    struct Balance {
        int rule = 0;
        QList<int> first, second;
        QList<int> groupOfDesk;
        int groups = 0;
    };
    // On each pair of desks, two pupils of one kind never sit together (kindOfPupil: 0 or 1,
    // or 2 for a pupil of neither kind).
    struct Differ {
        int rule = 0;
        QList<int> kindOfPupil;
        QList<std::pair<int, int>> deskPairs;
    };

    // No two of `pupilPairs` sit at one of `deskPairs` (deskmates or 班-mates again).
    struct Forbidden {
        int rule = 0;
        QList<std::pair<int, int>> deskPairs, pupilPairs;
    };
    // Two pupils at one of `deskPairs` cost cost[a * pupils + b].
    struct PairCost {
        QList<std::pair<int, int>> deskPairs;
        QList<int> cost;
    };

    QList<int> rowOfDesk, columnOfDesk;

    QList<Within> within;
    QList<Pair> pairs;
    QList<Distance> distances;
    QList<Unequal> unequal;
    QList<PerGroup> perGroup;
    QList<Balance> balance;
    QList<Differ> differ;
    QList<Forbidden> forbidden;

    // The rules that may be broken, with what breaking each costs; the solver finds a chart
    // of the least cost, this and the costs below together. Every other rule must hold.
    QMap<int, int> wishes;
    QList<int> deskCost; // pupils × desks: pupil p at desk d costs deskCost[p * desks + d]; empty: none
    QList<PairCost> pairCosts;
    // After the first chart, how long cheaper ones are looked for; -1: until the cheapest is proved.
    int improveMs = -1;
};

// What a solver makes of a problem.
struct RuleSolution {
    enum class Status { Found, Impossible, GaveUp };
    Status status = Status::GaveUp;
    QList<int> deskOf; // when Found
    bool best = true;  // with wishes: proved to cost the least (false when time ran out first)
};

// The solver's entry point, as the solver library exports it.
using RuleSolveFunction = RuleSolution (*)(const RuleProblem &problem, unsigned seed, int timeLimitMs);
inline constexpr char RuleSolveSymbol[] = "narabinSolveRules";
