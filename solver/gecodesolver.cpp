// The rules solved by Gecode: a library of its own, loaded on the first run that has rules,
// so that starting the program never loads Gecode.
#include "core/ruleproblem.h"

#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>

#include <QHash>

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
class Seating : public IntMaximizeSpace
{
public:
    Seating(const RuleProblem &p, unsigned seed)
        : deskOf(*this, p.desks, 0, p.desks - 1), sitter(*this, p.desks, 0, p.desks - 1),
          kept(*this, int(p.wishes.size()), 0, 1), score(*this, 0, totalWeight(p))
    {
        int index = 0;
        IntArgs weights;
        for (auto it = p.wishes.cbegin(); it != p.wishes.cend(); ++it, ++index) {
            keptOf_.insert(it.key(), index);
            weights << it.value();
        }
        linear(*this, weights, kept, IRT_EQ, score);
        distinct(*this, deskOf);
        channel(*this, deskOf, sitter);
        for (const auto &w : p.within) {
            if (const auto b = wish(w.rule))
                dom(*this, deskOf[w.pupil], setOf(w.allowed), Reify(*b, RM_IMP));
            else
                dom(*this, deskOf[w.pupil], setOf(w.allowed));
        }
        for (const auto &pair : p.pairs)
            postTuples(pair.rule, IntVarArgs() << deskOf[pair.a] << deskOf[pair.b], tuplesOf(pair.allowed));
        for (const auto &g : p.perGroup)
            postPerGroup(g);
        for (const auto &b : p.balance)
            postBalance(b);
        for (const auto &d : p.differ)
            postDiffer(d, p.desks);
        // A random source made for a space that already failed is never freed.
        if (failed())
            return;
        // The stand-ins are all alike: only the real pupils are branched on.
        IntVarArgs pupils;
        for (int i = 0; i < p.pupils; ++i)
            pupils << deskOf[i];
        Rnd random(seed);
        // Keeping a wish is tried first, so that the first chart is already a good one.
        branch(*this, kept, BOOL_VAR_NONE(), BOOL_VAL_MAX());
        branch(*this, pupils, INT_VAR_RND(random), INT_VAL_RND(random));
        branch(*this, deskOf, INT_VAR_NONE(), INT_VAL_MIN());
    }
    Seating(Seating &other) : IntMaximizeSpace(other), keptOf_(other.keptOf_)
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
    IntVar score;

private:
    QHash<int, int> keptOf_; // the wish of each rule that may be broken

    static int totalWeight(const RuleProblem &p)
    {
        int total = 0;
        for (int w : p.wishes)
            total += w;
        return total;
    }
    // The variable that says a wish is kept; none for a rule that must hold.
    std::optional<BoolVar> wish(int rule) const
    {
        const auto it = keptOf_.constFind(rule);
        return it == keptOf_.cend() ? std::nullopt : std::optional<BoolVar>(kept[*it]);
    }
    void postTuples(int rule, const IntVarArgs &x, const TupleSet &allowed)
    {
        if (const auto b = wish(rule))
            extensional(*this, x, allowed, Reify(*b, RM_IMP));
        else
            extensional(*this, x, allowed);
    }
    void postEqual(int rule, const IntVar &x, int value)
    {
        if (const auto b = wish(rule))
            rel(*this, x, IRT_EQ, value, Reify(*b, RM_IMP));
        else
            rel(*this, x, IRT_EQ, value);
    }
    void postWithinOne(int rule, const IntVar &one, const IntVar &two)
    {
        if (const auto b = wish(rule)) {
            linear(*this, IntArgs{1, -1}, IntVarArgs() << one << two, IRT_LQ, 1, Reify(*b, RM_IMP));
            linear(*this, IntArgs{-1, 1}, IntVarArgs() << one << two, IRT_LQ, 1, Reify(*b, RM_IMP));
        } else {
            rel(*this, one - two <= 1);
            rel(*this, two - one <= 1);
        }
    }

    IntVarArgs groupsOf(const QList<int> &pupils, const QList<int> &groupOfDesk)
    {
        IntArgs table;
        for (int g : groupOfDesk)
            table << g;
        IntVarArgs groups;
        for (int pupil : pupils)
            groups << expr(*this, element(table, deskOf[pupil]));
        return groups;
    }
    void postPerGroup(const RuleProblem::PerGroup &g)
    {
        const IntVarArgs groups = groupsOf(g.pupils, g.groupOfDesk);
        for (int group = 0; group < g.groups; ++group) {
            IntVar members(*this, 0, int(g.pupils.size()));
            count(*this, groups, group, IRT_EQ, members);
            postEqual(g.rule, members, g.exactly);
        }
    }
    void postBalance(const RuleProblem::Balance &b)
    {
        const IntVarArgs first = groupsOf(b.first, b.groupOfDesk), second = groupsOf(b.second, b.groupOfDesk);
        for (int group = 0; group < b.groups; ++group) {
            IntVar one(*this, 0, int(b.first.size())), two(*this, 0, int(b.second.size()));
            count(*this, first, group, IRT_EQ, one);
            count(*this, second, group, IRT_EQ, two);
            postWithinOne(b.rule, one, two);
        }
    }
    void postDiffer(const RuleProblem::Differ &d, int desks)
    {
        IntArgs kinds;
        for (int k : d.kindOfPupil)
            kinds << k;
        while (kinds.size() < desks)
            kinds << 2; // the stand-ins
        TupleSet allowed(2);
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b) {
                if (a == 2 || b == 2 || a != b)
                    allowed.add(IntArgs{a, b});
            }
        }
        allowed.finalize();
        for (const auto &[x, y] : d.deskPairs)
            extensional(
                *this, IntVarArgs() << expr(*this, element(kinds, sitter[x])) << expr(*this, element(kinds, sitter[y])),
                allowed);
    }
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
    Search::Options options;
    Search::TimeStop stop(timeLimitMs);
    options.stop = &stop;
    std::unique_ptr<Seating> found;
    bool stopped = false;
    if (problem.wishes.isEmpty()) {
        DFS<Seating> search(root.get(), options);
        found.reset(search.next());
        stopped = search.stopped();
    } else {
        // Each chart found costs less than the one before; the last is the best.
        BAB<Seating> search(root.get(), options);
        while (Seating *better = search.next())
            found.reset(better);
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
