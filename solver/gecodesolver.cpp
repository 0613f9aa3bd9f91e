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
        branch(*this, pupils, tiebreak(INT_VAR_SIZE_MIN(), INT_VAR_RND(random)), INT_VAL_RND(random));
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
    // For each desk: whether one of `pupils` sits there.
    BoolVarArgs seatedAt(const QList<int> &pupils, int desks)
    {
        IntArgs members;
        for (int p : pupils)
            members << p;
        const IntSet set(members);
        BoolVarArgs at;
        for (int d = 0; d < desks; ++d) {
            BoolVar b(*this, 0, 1);
            dom(*this, sitter[d], set, b);
            at << b;
        }
        linear(*this, at, IRT_EQ, int(pupils.size()));
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
    void postBalance(const RuleProblem::Balance &b)
    {
        const int desks = int(b.groupOfDesk.size());
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
        for (int kind = 0; kind < 2; ++kind) {
            QList<int> pupils;
            for (int p = 0; p < d.kindOfPupil.size(); ++p) {
                if (d.kindOfPupil[p] == kind)
                    pupils.append(p);
            }
            const BoolVarArgs at = seatedAt(pupils, desks);
            for (const auto &[x, y] : d.deskPairs)
                postLinear(d.rule, IntArgs{1, 1}, BoolVarArgs() << at[x] << at[y], IRT_LQ, 1);
        }
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
    // Rules that fail on posting need no search (and the restarting engine would keep a part
    // of itself that it never frees).
    if (root->status() == SS_FAILED) {
        out.status = RuleSolution::Status::Impossible;
        return out;
    }
    Search::Options options;
    Search::TimeStop stop(timeLimitMs);
    options.stop = &stop;
    std::unique_ptr<Seating> found;
    bool stopped = false;
    if (problem.wishes.isEmpty()) {
        // Restarts keep a run from searching long below a bad first choice; a restart that
        // exhausts its part of the search proves that there is no chart.
        options.cutoff = Search::Cutoff::luby(50);
        RBS<Seating, DFS> search(root.get(), options);
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
