// The rules solved by Gecode: a library of its own, loaded on the first run that has rules,
// so that starting the program never loads Gecode.
#include "core/ruleproblem.h"

#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>

#include <QHash>
#include <QMap>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

using namespace Gecode;

namespace
{

IntSet setOf(const QList<int> &values)
{
    IntArgs args;
    for (int v : values)
        args << v;
    return IntSet(args);
}

TupleSet tuplesOf(const QList<std::pair<int, int>> &pairs)
{
    TupleSet set(2);
    for (const auto &[a, b] : pairs)
        set.add(IntArgs{a, b});
    set.finalize();
    return set;
}

// Every desk holds a pupil or one of the stand-ins for nobody, so that the desks form a
// permutation and its inverse (who sits where) is at hand for the rules about desks.
class Seating : public IntMinimizeSpace
{
public:
    Seating(const RuleProblem &p, unsigned seed)
        : deskOf(*this, p.desks, 0, p.desks - 1), sitter(*this, p.desks, 0, p.desks - 1),
          kept(*this, int(p.wishes.size()), 0, 1), score(*this, 0, Int::Limits::max)
    {
        int index = 0, wishWeight = 0;
        IntArgs weights;
        for (auto it = p.wishes.cbegin(); it != p.wishes.cend(); ++it, ++index) {
            keptOf_.insert(it.key(), index);
            weights << it.value();
            wishWeight += it.value();
        }
        // The cost (score): the weights of all wishes less those kept, and what the pupils'
        // desks and deskmates cost.
        IntVarArgs terms;
        IntArgs signs;
        terms << IntVar(*this, 0, wishWeight) << score;
        signs << -1 << -1;
        linear(*this, weights, kept, IRT_EQ, terms[0]);
        // Domain consistency finds at once a zone with more pupils than desks.
        channel(*this, deskOf, sitter, IPL_DOM);
        postCosts(p, terms, signs);
        linear(*this, signs, terms, IRT_EQ, -wishWeight);
        for (const auto &w : p.within) {
            if (const auto b = wish(w.rule))
                dom(*this, deskOf[w.pupil], setOf(w.allowed), Reify(*b, RM_IMP));
            else
                dom(*this, deskOf[w.pupil], setOf(w.allowed));
        }
        for (const auto &pair : p.pairs) {
            const IntVarArgs x = IntVarArgs() << deskOf[pair.a] << deskOf[pair.b];
            if (const auto b = wish(pair.rule))
                extensional(*this, x, tuplesOf(pair.allowed), Reify(*b, RM_IMP));
            else
                extensional(*this, x, tuplesOf(pair.allowed));
        }
        for (const auto &d : p.distances) {
            const IntVar ra = along(rows_, p.rowOfDesk, d.a), rb = along(rows_, p.rowOfDesk, d.b);
            const IntVar ca = along(columns_, p.columnOfDesk, d.a), cb = along(columns_, p.columnOfDesk, d.b);
            postExpr(d.rule, d.apart ? (abs(ra - rb) >= d.distance || abs(ca - cb) >= d.distance)
                                     : (abs(ra - rb) <= d.distance && abs(ca - cb) <= d.distance));
        }
        for (const auto &u : p.unequal) {
            QHash<int, IntVar> &labels = labels_[u.labelOfDesk];
            postExpr(u.rule, along(labels, u.labelOfDesk, u.a) != along(labels, u.labelOfDesk, u.b));
        }
        for (const auto &g : p.perGroup)
            postPerGroup(g);
        for (const auto &b : p.balance)
            postBalance(b);
        for (const auto &d : p.differ)
            postDiffer(d, p.desks);
        for (const auto &f : p.forbidden)
            postForbidden(f);
        orderAlikePupils(p);
        // A random source made for a space that already failed is never freed.
        if (failed())
            return;
        Rnd random(seed);
        // Keeping a wish is tried first, so that the first chart is already a good one.
        branch(*this, kept, BOOL_VAR_NONE(), BOOL_VAL_MAX());
        // Boys' and girls' desks first, then desk by desk; the desk whose constraints failed
        // most often first: the desks are where the rules about neighbours and 班 meet.
        for (const IntVarArgs &kinds : std::as_const(kinds_))
            branch(*this, kinds, tiebreak(INT_VAR_AFC_SIZE_MAX(0.99), INT_VAR_RND(random)), INT_VAL_RND(random));
        // Pupils named together in a rule are seated first: two rules that part and join the
        // same two fail on each desk of the first, not after every order of everybody else.
        QList<int> named;
        for (const auto &x : p.pairs)
            named << x.a << x.b;
        for (const auto &x : p.distances)
            named << x.a << x.b;
        for (const auto &x : p.unequal)
            named << x.a << x.b;
        std::sort(named.begin(), named.end());
        named.erase(std::unique(named.begin(), named.end()), named.end());
        IntVarArgs namedDesks;
        for (int pupil : std::as_const(named))
            namedDesks << deskOf[pupil];
        if (namedDesks.size() > 0)
            branch(*this, namedDesks, INT_VAR_SIZE_MIN(), INT_VAL_RND(random));
        branch(*this, sitter, tiebreak(INT_VAR_AFC_SIZE_MAX(0.99), INT_VAR_RND(random)), INT_VAL_RND(random));
    }
    Seating(Seating &other) : IntMinimizeSpace(other), keptOf_(other.keptOf_)
    {
        deskOf.update(*this, other.deskOf);
        sitter.update(*this, other.sitter);
        kept.update(*this, other.kept);
        score.update(*this, other.score);
    }
    Space *copy() override { return new Seating(*this); }
    IntVar cost() const override { return score; }

    IntVarArray deskOf;
    IntVarArray sitter;
    BoolVarArray kept; // one per wish: true means the chart keeps it
    IntVar score;      // what the chart costs: the less, the better

private:
    QHash<int, int> keptOf_; // the wish of each rule that may be broken
    // Only while the rules are posted: each pupil's row, column and label, made once.
    QHash<int, IntVar> rows_, columns_;
    QMap<QList<int>, QHash<int, IntVar>> labels_;
    QMap<QList<int>, BoolVarArgs> seated_;
    QMap<QList<int>, IntVarArgs> kinds_;

    // Each cost term joins `terms` with the sign 1.
    void postCosts(const RuleProblem &p, IntVarArgs &terms, IntArgs &signs)
    {
        for (int pupil = 0; pupil < p.pupils && !p.deskCost.isEmpty(); ++pupil) {
            const QList<int> row = p.deskCost.mid(pupil * p.desks, p.desks);
            const int most = *std::max_element(row.cbegin(), row.cend());
            if (most == 0)
                continue;
            IntArgs costs;
            for (int c : row)
                costs << c;
            const IntVar c(*this, 0, most);
            element(*this, costs, deskOf[pupil], c);
            terms << c;
            signs << 1;
        }
        for (const auto &pc : p.pairCosts) {
            // Who sits at the two desks and what that costs, the stand-ins for nobody costing
            // nothing: one table for every two desks, made once.
            const int most = pc.cost.isEmpty() ? 0 : *std::max_element(pc.cost.cbegin(), pc.cost.cend());
            if (most == 0)
                continue;
            TupleSet table(3);
            for (int a = 0; a < p.desks; ++a) {
                for (int b = 0; b < p.desks; ++b) {
                    if (a != b)
                        table.add(IntArgs{a, b, a < p.pupils && b < p.pupils ? pc.cost[a * p.pupils + b] : 0});
                }
            }
            table.finalize();
            for (const auto &[x, y] : pc.deskPairs) {
                const IntVar c(*this, 0, most);
                extensional(*this, IntVarArgs() << sitter[x] << sitter[y] << c, table);
                terms << c;
                signs << 1;
            }
        }
    }
    void postForbidden(const RuleProblem::Forbidden &f)
    {
        if (f.pupilPairs.isEmpty())
            return;
        TupleSet pairs(2);
        for (const auto &[a, b] : f.pupilPairs)
            pairs.add(IntArgs{a, b}).add(IntArgs{b, a});
        pairs.finalize();
        for (const auto &[x, y] : f.deskPairs)
            extensional(*this, IntVarArgs() << sitter[x] << sitter[y], pairs, false);
    }
    // The variable that says a wish is kept; none for a rule that must hold.
    std::optional<BoolVar> wish(int rule) const
    {
        const auto it = keptOf_.constFind(rule);
        return it == keptOf_.cend() ? std::nullopt : std::optional<BoolVar>(kept[*it]);
    }
    void postExpr(int rule, const BoolExpr &holds)
    {
        if (const auto b = wish(rule))
            rel(*this, *b >> holds);
        else
            rel(*this, holds);
    }
    // What the table says of the desk the pupil sits at.
    IntVar along(QHash<int, IntVar> &made, const QList<int> &table, int pupil)
    {
        if (const auto it = made.constFind(pupil); it != made.cend())
            return *it;
        IntArgs values;
        for (int v : table)
            values << v;
        IntVar x(*this, *std::min_element(table.cbegin(), table.cend()),
                 *std::max_element(table.cbegin(), table.cend()));
        element(*this, values, deskOf[pupil], x);
        made.insert(pupil, x);
        return x;
    }
    // For each desk: whether one of `pupils` sits there.
    BoolVarArgs seatedAt(const QList<int> &pupils, int desks)
    {
        if (const auto it = seated_.constFind(pupils); it != seated_.cend())
            return *it;
        const IntSet set(setOf(pupils));
        BoolVarArgs at;
        for (int d = 0; d < desks; ++d) {
            BoolVar b(*this, 0, 1);
            dom(*this, sitter[d], set, b);
            at << b;
        }
        linear(*this, at, IRT_EQ, int(pupils.size()));
        seated_.insert(pupils, at);
        return at;
    }
    static BoolVarArgs ofGroup(const BoolVarArgs &at, const QList<int> &groupOfDesk, int group)
    {
        BoolVarArgs out;
        for (int d = 0; d < at.size(); ++d) {
            if (groupOfDesk[d] == group)
                out << at[d];
        }
        return out;
    }
    void postLinear(int rule, const IntArgs &weights, const BoolVarArgs &x, IntRelType relation, int value)
    {
        if (const auto b = wish(rule))
            linear(*this, weights, x, relation, value, Reify(*b, RM_IMP));
        else
            linear(*this, weights, x, relation, value);
    }
    void postPerGroup(const RuleProblem::PerGroup &g)
    {
        const BoolVarArgs at = seatedAt(g.pupils, int(g.groupOfDesk.size()));
        for (int group = 0; group < g.groups; ++group) {
            const BoolVarArgs members = ofGroup(at, g.groupOfDesk, group);
            postLinear(g.rule, IntArgs::create(members.size(), 1, 0), members, IRT_EQ, g.exactly);
        }
    }
    // Whether a pupil of `first`, of `second` or of neither sits at each desk, as one number
    // per desk (0, 1, 2). Searched before the pupils: which desks take a boy and which a
    // girl decides most of the rules about boys and girls at once.
    void kindsAt(const QList<int> &first, const QList<int> &second, int desks)
    {
        if (kinds_.contains(first))
            return;
        IntArgs kindOf = IntArgs::create(desks, 2, 0);
        for (int p : first)
            kindOf[p] = 0;
        for (int p : second)
            kindOf[p] = 1;
        IntVarArgs kinds;
        BoolVarArgs one, two;
        for (int d = 0; d < desks; ++d) {
            const IntVar kind(*this, 0, 2);
            element(*this, kindOf, sitter[d], kind);
            one << expr(*this, kind == 0);
            two << expr(*this, kind == 1);
            kinds << kind;
        }
        linear(*this, one, IRT_EQ, int(first.size()));
        linear(*this, two, IRT_EQ, int(second.size()));
        seated_.insert(first, one);
        seated_.insert(second, two);
        kinds_.insert(first, kinds);
    }
    void postBalance(const RuleProblem::Balance &b)
    {
        const int desks = int(b.groupOfDesk.size());
        kindsAt(b.first, b.second, desks);
        const BoolVarArgs first = seatedAt(b.first, desks), second = seatedAt(b.second, desks);
        for (int group = 0; group < b.groups; ++group) {
            const BoolVarArgs one = ofGroup(first, b.groupOfDesk, group), two = ofGroup(second, b.groupOfDesk, group);
            const IntArgs weights = IntArgs::create(one.size(), 1, 0) + IntArgs::create(two.size(), -1, 0);
            postLinear(b.rule, weights, one + two, IRT_LQ, 1);
            postLinear(b.rule, weights, one + two, IRT_GQ, -1);
        }
    }
    void postDiffer(const RuleProblem::Differ &d, int desks)
    {
        QList<int> pupils[2];
        for (int p = 0; p < d.kindOfPupil.size(); ++p) {
            if (d.kindOfPupil[p] == 0 || d.kindOfPupil[p] == 1)
                pupils[d.kindOfPupil[p]].append(p);
        }
        kindsAt(pupils[0], pupils[1], desks);
        for (int kind = 0; kind < 2; ++kind) {
            const BoolVarArgs at = seatedAt(pupils[kind], desks);
            for (const auto &[x, y] : d.deskPairs)
                postLinear(d.rule, IntArgs{1, 1}, BoolVarArgs() << at[x] << at[y], IRT_LQ, 1);
        }
    }
    // Pupils that every constraint treats alike (the stand-ins for nobody among them) can
    // trade desks in any chart: only the charts where they sit in desk order are searched.
    // The shuffle after the solver mixes them again.
    void orderAlikePupils(const RuleProblem &p)
    {
        QList<QStringList> traits(p.desks);
        for (int s = p.pupils; s < p.desks; ++s)
            traits[s] << QStringLiteral("nobody");
        const auto list = [](const QList<int> &values) {
            QStringList out;
            for (int v : values)
                out << QString::number(v);
            return out.join(u',');
        };
        int unique = 0;
        for (const auto &w : p.within)
            traits[w.pupil] << QStringLiteral("w%1:%2").arg(w.rule).arg(list(w.allowed));
        const auto alone = [&](int a, int b) {
            traits[a] << QStringLiteral("u%1").arg(unique++);
            traits[b] << QStringLiteral("u%1").arg(unique++);
        };
        for (const auto &x : p.pairs)
            alone(x.a, x.b);
        for (const auto &x : p.distances)
            alone(x.a, x.b);
        for (const auto &x : p.unequal)
            alone(x.a, x.b);
        for (qsizetype i = 0; i < p.perGroup.size(); ++i) {
            for (int pupil : p.perGroup[i].pupils)
                traits[pupil] << QStringLiteral("g%1").arg(i);
        }
        for (qsizetype i = 0; i < p.balance.size(); ++i) {
            for (int pupil : p.balance[i].first)
                traits[pupil] << QStringLiteral("b%1").arg(i);
            for (int pupil : p.balance[i].second)
                traits[pupil] << QStringLiteral("B%1").arg(i);
        }
        for (qsizetype i = 0; i < p.differ.size(); ++i) {
            for (int pupil = 0; pupil < p.pupils; ++pupil)
                traits[pupil] << QStringLiteral("d%1:%2").arg(i).arg(p.differ[i].kindOfPupil.value(pupil, 2));
        }
        for (const auto &x : p.forbidden) {
            for (const auto &[a, b] : x.pupilPairs)
                alone(a, b);
        }
        for (int pupil = 0; pupil < p.pupils && !p.deskCost.isEmpty(); ++pupil)
            traits[pupil] << QStringLiteral("c:") + list(p.deskCost.mid(pupil * p.desks, p.desks));
        for (const auto &x : p.pairCosts) {
            for (int a = 0; a < p.pupils; ++a) {
                for (int b = a + 1; b < p.pupils; ++b) {
                    if (x.cost[a * p.pupils + b] != 0)
                        alone(a, b);
                }
            }
        }
        QHash<QString, int> last;
        for (int x = 0; x < p.desks; ++x) {
            traits[x].sort();
            const QString key = traits[x].join(u'/');
            if (const auto it = last.constFind(key); it != last.cend())
                rel(*this, deskOf[*it], IRT_LE, deskOf[x]);
            last.insert(key, x);
        }
    }
};

// The time the search has: until the first chart, then as long as cheaper ones are looked for.
class RunStop : public Search::Stop
{
public:
    explicit RunStop(int ms) { restart(ms); }
    void restart(int ms) { deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms); }
    bool stop(const Search::Statistics &, const Search::Options &) override
    {
        return std::chrono::steady_clock::now() > deadline_;
    }

private:
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace

extern "C"
#ifdef _WIN32
    __declspec(dllexport)
#else
    __attribute__((visibility("default")))
#endif
        RuleSolution narabinSolveRules(const RuleProblem &problem, unsigned seed, int timeLimitMs)
{
    RuleSolution out;
    if (problem.pupils > problem.desks) {
        out.status = RuleSolution::Status::Impossible;
        return out;
    }
    if (problem.desks == 0) {
        out.status = RuleSolution::Status::Found;
        return out;
    }
    auto root = std::make_unique<Seating>(problem, seed);
    // Rules that fail on posting need no search (and the restarting engine would keep a part
    // of itself that it never frees).
    if (root->status() == SS_FAILED) {
        out.status = RuleSolution::Status::Impossible;
        return out;
    }
    Search::Options options;
    RunStop stop(timeLimitMs);
    options.stop = &stop;
    std::unique_ptr<Seating> found;
    bool stopped = false;
    // Restarts keep a run from searching long below a bad first choice; a restart that
    // exhausts its part of the search proves that there is no chart, or no better one.
    options.cutoff = Search::Cutoff::luby(10);
    if (problem.wishes.isEmpty() && problem.deskCost.isEmpty() && problem.pairCosts.isEmpty()) {
        RBS<Seating, DFS> search(root.get(), options);
        found.reset(search.next());
        stopped = search.stopped();
    } else {
        // Each chart found costs less than the one before; the last is the best.
        RBS<Seating, BAB> search(root.get(), options);
        while (Seating *better = search.next()) {
            if (!found && problem.improveMs >= 0)
                stop.restart(std::min(problem.improveMs, timeLimitMs));
            found.reset(better);
        }
        stopped = search.stopped();
    }
    if (found) {
        out.status = RuleSolution::Status::Found;
        out.best = !stopped;
        for (int p = 0; p < problem.pupils; ++p)
            out.deskOf.append(found->deskOf[p].val());
    } else {
        out.status = stopped ? RuleSolution::Status::GaveUp : RuleSolution::Status::Impossible;
    }
    return out;
}
