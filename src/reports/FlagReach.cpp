#include "reports/FlagReach.h"

#include "data/LoadProject.h"
#include "reports/ObjectStatements.h"
#include "reports/Phrasing.h"
#include "reports/ReportHost.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <deque>
#include <new>
#include <sys/mman.h>
#include <tuple>

namespace orv {

namespace {

bool inRange(long f) {
    return f >= 1 && f <= 255;
}

// The values of one flag: bit v + 32768 for value v.
class ValueBits {
  public:
    static constexpr int Words = 1024;

    bool insert(long v) {
        const long i = v + 32768;
        std::uint64_t& w = w_[static_cast<std::size_t>(i >> 6)];
        const std::uint64_t bit = std::uint64_t{1} << (i & 63);
        const bool added = (w & bit) == 0;
        w |= bit;
        return added;
    }
    bool contains(long v) const {
        const long i = v + 32768;
        return (w_[static_cast<std::size_t>(i >> 6)] >> (i & 63) & 1) != 0;
    }
    bool full() const {
        return std::all_of(w_.begin(), w_.end(), [](std::uint64_t w) { return ~w == 0; });
    }
    bool fill() {
        const bool added = std::any_of(w_.begin(), w_.end(), [](std::uint64_t w) { return ~w != 0; });
        w_.fill(~std::uint64_t{0});
        return added;
    }
    long min() const {
        for (int i = 0; i < Words; ++i)
            if (w_[i] != 0)
                return i * 64L + std::countr_zero(w_[i]) - 32768;
        return 0;
    }
    long max() const {
        for (int i = Words - 1; i >= 0; --i)
            if (w_[i] != 0)
                return i * 64L + 63 - std::countl_zero(w_[i]) - 32768;
        return 0;
    }

    // Adds every value plus `delta` that stays within 16 bits; true when a
    // value was new. In place: upward shifts walk down the words and
    // downward ones walk up, so each word is read before it is written.
    bool addShifted(long delta) {
        const int words = static_cast<int>(std::labs(delta) >> 6);
        const int bits = static_cast<int>(std::labs(delta) & 63);
        std::uint64_t grew = 0;
        const auto merge = [&](int i, std::uint64_t from) {
            grew |= from & ~w_[i];
            w_[i] |= from;
        };
        if (delta > 0) {
            for (int i = Words - 1; i >= words; --i) {
                std::uint64_t from = w_[i - words] << bits;
                if (bits != 0 && i - words - 1 >= 0)
                    from |= w_[i - words - 1] >> (64 - bits);
                merge(i, from);
            }
        } else {
            for (int i = 0; i + words < Words; ++i) {
                std::uint64_t from = w_[i + words] >> bits;
                if (bits != 0 && i + words + 1 < Words)
                    from |= w_[i + words + 1] << (64 - bits);
                merge(i, from);
            }
        }
        return grew != 0;
    }

    // Closes the values under adding `delta` again and again: after step k
    // they hold x + j * delta for j below 2^k, so a step that adds nothing
    // means nothing more can come.
    bool closeUnder(long delta) {
        bool grew = false;
        for (long step = delta; std::labs(step) < 65536; step *= 2) {
            if (!addShifted(step))
                break;
            grew = true;
        }
        return grew;
    }

    FlagValues ranges() const {
        FlagValues values;
        long i = nextWith(0, true);
        while (i < 65536) {
            const long end = nextWith(i, false);
            values.ranges.push_back({static_cast<Integer>(i - 32768), static_cast<Integer>(end - 1 - 32768)});
            i = nextWith(end, true);
        }
        return values;
    }

  private:
    // The first bit from `from` on that is set (or clear); 65536 if none.
    long nextWith(long from, bool set) const {
        while (from < 65536) {
            std::uint64_t w = w_[static_cast<std::size_t>(from >> 6)];
            if (!set)
                w = ~w;
            w &= ~std::uint64_t{0} << (from & 63);
            if (w != 0)
                return (from & ~63L) + std::countr_zero(w);
            from = (from & ~63L) + 64;
        }
        return 65536;
    }

    std::array<std::uint64_t, Words> w_{};
};

// What a test needs to know of its flag's values.
struct Extent {
    long min = 0, max = 0;
};

bool canHold(const ReachTest& t, const ValueBits& bits, Extent e) {
    switch (t.comparison) {
    case 0: return bits.contains(t.value);
    case 1: return e.min != e.max || e.min != t.value;
    case 2: return e.min < t.value;
    case 3: return e.max > t.value;
    default: return true;
    }
}

bool alwaysHolds(const ReachTest& t, const ValueBits& bits, Extent e) {
    switch (t.comparison) {
    case 0: return e.min == e.max && e.min == t.value;
    case 1: return !bits.contains(t.value);
    case 2: return e.max < t.value;
    case 3: return e.min > t.value;
    default: return false;
    }
}

// The condition of a test as its sentence words it: "flag # 9 = 4".
std::string conditionText(const ReachTest& t) {
    std::string text;
    AppendFlagCondition(text, t.flag, t.comparison, t.value);
    return text;
}

// Why a flag's tests come out as they do.
std::string valuesReason(int f, const FlagReachEntry& e) {
    if (e.changes == 0 && !e.score)
        return "nothing changes flag #" + SignedForm(f) + ", so it is always 0";
    if (e.everyChangeUnreachable() && !e.score)
        return "none of the changes of flag #" + SignedForm(f) + " can happen, so it is always 0";
    if (e.values.any())
        return "flag #" + SignedForm(f) + " can take any value from -32768 to 32767";
    return "flag #" + SignedForm(f) + " can only be " + DescribeFlagValues(e.values);
}

std::string guardReason(const ReachTest& guard) {
    const std::string condition = conditionText(guard) + ", which never holds";
    switch (ObjectStatementRoleOf(guard.objectType, guard.row).guard) {
    case ObjectGuard::Activation: return "its object is activated only when " + condition;
    case ObjectGuard::Trigger: return "trigger #" + SignedForm(guard.row + 1) + " is activated only when " + condition;
    case ObjectGuard::Conjunction:
        return "all its conditions must hold, and condition " + std::string(1, static_cast<char>('A' + guard.row)) +
               " needs " + condition;
    case ObjectGuard::Visibility:
    case ObjectGuard::None: break;
    }
    return "its object is visible only when " + condition;
}

std::string loadReason(Integer scene, int sceneCount) {
    std::string reason = "scene #" + SignedForm(scene) + " is not a scene of the project";
    if (scene > 0)
        reason += ", which has " + PlainForm(sceneCount) + (sceneCount == 1 ? " scene" : " scenes");
    return reason;
}

constexpr std::uint32_t None = NoIndex;

// Makes room for `n` items and asks for large pages for it: a fault on each
// small page of tens of megabytes costs more than filling them.
constexpr std::size_t LargePage = std::size_t{2} << 20;

// New values of a flag followed one at a time before its whole set is closed
// again instead.
constexpr std::size_t OneByOne = 256;

template <typename T> void reserveLarge(std::vector<T>& v, std::size_t n) {
    v.reserve(n);
    const auto start = reinterpret_cast<std::uintptr_t>(v.data());
    const std::uintptr_t first = (start + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t last = (start + v.capacity() * sizeof(T)) & ~(LargePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE); // a hint the system may ignore
}

// The values of flags 0 to 255 in one block of two megabytes, on a large
// page where the system gives one: 512 faults on small pages cost more than
// a small project's whole analysis.
class FlagBits {
  public:
    FlagBits() {
        constexpr std::size_t Size = sizeof(ValueBits) * 256;
        static_assert(Size % LargePage == 0);
        void* block = std::aligned_alloc(LargePage, Size);
        if (!block)
            throw std::bad_alloc();
        ::madvise(block, Size, MADV_HUGEPAGE); // a hint the system may ignore
        auto* first = static_cast<ValueBits*>(block);
        for (std::size_t f = 0; f < 256; ++f)
            new (first + f) ValueBits;
        bits_.reset(first);
    }
    ValueBits& operator[](std::size_t f) { return bits_[f]; }
    const ValueBits& operator[](std::size_t f) const { return bits_[f]; }
    ValueBits* begin() { return bits_.get(); }
    ValueBits* end() { return bits_.get() + 256; }

  private:
    struct Free {
        void operator()(ValueBits* p) const { std::free(p); }
    };
    std::unique_ptr<ValueBits[], Free> bits_;
};

} // namespace

struct FlagReachBuilder::Impl {
    // The statements of the object now being read; its changes wait for
    // its tests (a Switch's positions come before its visibility).
    struct ObjectInProgress {
        bool open = false;
        Integer record = 0;
        std::uint8_t slot = 0;
        std::uint32_t firstTest = 0;
        std::array<std::uint32_t, 8> rowTest{};
        std::array<ReachChange, 8> changes{};
        std::array<std::uint8_t, 8> guardedBy{};
        std::size_t changeCount = 0;
    };

    Impl(int scenes, int objects) {
        out.sceneCount = scenes;
        for (ValueBits& b : bits)
            b.insert(0);
        // Room for the most an object can hold (six tests, three changes):
        // growing a vector of a million items copies it again and again,
        // while room never used is never touched.
        const auto n = static_cast<std::size_t>(std::max(objects, 0));
        reserveLarge(out.tests, static_cast<std::size_t>(std::max(scenes, 0)) + 6 * n);
        reserveLarge(out.guardedChanges, 3 * n);
    }

    FlagReach out;
    FlagBits bits;
    // The amounts added to each flag by changes that happen, each once.
    std::array<std::vector<Integer>, 256> amounts;
    std::array<std::unique_ptr<ValueBits>, 256> amountSeen;
    std::array<bool, 256> newAmount{};           // an amount came since the flag was last closed
    std::array<std::vector<Integer>, 256> fresh; // the values that came since then
    ObjectInProgress object;

    FlagReachEntry& entry(long f) { return out.flags[static_cast<std::size_t>(f)]; }

    void add(const FlagStatement& s);
    void closeObject();
    bool applyToValues(const ReachChange& c);
    bool insert(std::size_t f, long v);
    void close(std::size_t f);
    void solve();
    void evaluate();
    void collectFindings();
};

void FlagReachBuilder::Impl::add(const FlagStatement& s) {
    const bool objectStatement = s.place == StatementPlace::Object;
    if (object.open && (!objectStatement || s.record != object.record || s.slot != object.slot))
        closeObject();
    if (objectStatement && !object.open && s.use != FlagUse::Problem) {
        object.open = true;
        object.record = s.record;
        object.slot = s.slot;
        object.firstTest = static_cast<std::uint32_t>(out.tests.size());
        object.rowTest.fill(None);
        object.changeCount = 0;
    }
    switch (s.use) {
    case FlagUse::Problem: return;
    case FlagUse::Score:
        if (inRange(s.flag)) {
            entry(s.flag).score = true;
            bits[static_cast<std::size_t>(s.flag)].fill();
        }
        return;
    case FlagUse::Test: {
        ReachTest t;
        t.record = s.record;
        t.value = s.value;
        t.flag = inRange(s.flag) ? static_cast<std::uint8_t>(s.flag) : 0;
        t.comparison = s.comparison >= 0 && s.comparison <= 3 ? static_cast<std::uint8_t>(s.comparison) : 4;
        t.slot = s.slot;
        t.row = s.row;
        t.objectType = static_cast<std::int8_t>(objectStatement ? s.objectType : -1);
        const auto index = static_cast<std::uint32_t>(out.tests.size());
        out.tests.push_back(t);
        if (t.flag != 0)
            ++entry(t.flag).tests;
        if (s.place == StatementPlace::ConditionalLoad)
            out.loads.push_back({index, s.loadsScene, s.flag, s.comparison});
        else if (objectStatement && s.row < object.rowTest.size())
            object.rowTest[s.row] = index;
        return;
    }
    case FlagUse::Change: break;
    }
    const ObjectStatementRole role =
        objectStatement ? ObjectStatementRoleOf(s.objectType, s.row) : ObjectStatementRole{};
    ReachChange c;
    c.record = s.record;
    c.flag = s.flag;
    c.value = s.value;
    c.valueB = s.valueB;
    c.slot = s.slot;
    c.row = s.row;
    c.objectType = static_cast<std::int8_t>(objectStatement ? s.objectType : 0);
    c.whole = s.whole;
    c.marks = s.marks;
    c.adds = s.adds;
    if (role.conjunctionResult) {
        // Flag round(T1); a fraction in it, or a value text that is not
        // exactly a 16-bit whole number, leaves the flag's value open.
        c.kind = !s.marks                    ? ReachChangeKind::Nothing
                 : !s.whole || !s.valueWhole ? ReachChangeKind::AnyValue
                 : s.adds                    ? ReachChangeKind::Add
                                             : ReachChangeKind::Set;
    } else if (role.positions) {
        c.kind = ReachChangeKind::Positions;
    } else {
        c.kind = s.adds ? ReachChangeKind::Add : ReachChangeKind::Set;
    }
    if (!inRange(c.flag))
        c.kind = ReachChangeKind::Nothing;
    if (objectStatement && role.guardedBy != 0 && object.changeCount < object.changes.size()) {
        object.guardedBy[object.changeCount] = role.guardedBy;
        object.changes[object.changeCount++] = c;
        return;
    }
    if (c.kind != ReachChangeKind::Nothing) {
        ++entry(c.flag).changes;
        applyToValues(c); // the amounts added are applied when solving
    }
}

void FlagReachBuilder::Impl::closeObject() {
    object.open = false;
    for (std::size_t i = 0; i < object.changeCount; ++i) {
        ReachChange c = object.changes[i];
        for (std::size_t row = 0; row < object.rowTest.size(); ++row)
            if ((object.guardedBy[i] >> row & 1) != 0 && object.rowTest[row] != None)
                c.guards |= static_cast<std::uint8_t>(1u << (object.rowTest[row] - object.firstTest));
        if (c.kind != ReachChangeKind::Nothing)
            ++entry(c.flag).changes;
        if (c.guards == 0) { // no guard in force
            if (c.kind != ReachChangeKind::Nothing)
                applyToValues(c); // the amounts added are applied when solving
            continue;
        }
        c.firstTest = object.firstTest;
        out.guardedChanges.push_back(c);
    }
    object.changeCount = 0;
}

bool FlagReachBuilder::Impl::insert(std::size_t f, long v) {
    if (!bits[f].insert(v))
        return false;
    // Kept only while closing them one by one may pay: with no amount yet,
    // the amount to come closes the whole set anyway.
    if (!amounts[f].empty() && fresh[f].size() <= OneByOne)
        fresh[f].push_back(static_cast<Integer>(v));
    return true;
}

bool FlagReachBuilder::Impl::applyToValues(const ReachChange& c) {
    const auto f = static_cast<std::size_t>(c.flag);
    switch (c.kind) {
    case ReachChangeKind::Set: return insert(f, c.value);
    case ReachChangeKind::Positions: return insert(f, c.value) | insert(f, c.valueB);
    case ReachChangeKind::AnyValue: return bits[f].fill();
    case ReachChangeKind::Add:
        if (!amountSeen[f])
            amountSeen[f] = std::make_unique<ValueBits>();
        if (c.value == 0 || !amountSeen[f]->insert(c.value))
            return false;
        amounts[f].push_back(c.value);
        newAmount[f] = true;
        return true;
    case ReachChangeKind::Nothing: break;
    }
    return false;
}

// Adds to a flag's values every sum its amounts reach. What values already
// closed reach is there already, so after a few new values only those are
// followed, one value at a time; a new amount, or new values that lead to
// many more, close the whole set a word (64 values) at a time.
void FlagReachBuilder::Impl::close(std::size_t f) {
    ValueBits& b = bits[f];
    std::vector<Integer>& added = fresh[f];
    bool whole = newAmount[f] || added.size() > OneByOne;
    if (amounts[f].empty() || b.full())
        whole = false;
    else if (!whole)
        for (std::size_t i = 0; i < added.size() && !whole; ++i) {
            const long x = added[i];
            for (Integer d : amounts[f])
                if (x + d >= INT16_MIN && x + d <= INT16_MAX && b.insert(x + d))
                    added.push_back(static_cast<Integer>(x + d));
            whole = added.size() > OneByOne;
        }
    for (bool more = whole; more;) {
        more = false;
        for (Integer d : amounts[f])
            more |= b.closeUnder(d);
    }
    added.clear();
    newAmount[f] = false;
}

// The fixpoint: a work list of flags whose values grew. A change is applied
// once every test that guards it can hold; a guard that cannot hold yet
// waits on its flag's list and is looked at again only when that flag
// gains values.
void FlagReachBuilder::Impl::solve() {
    const std::vector<ReachTest>& tests = out.tests;
    std::vector<ReachChange>& changes = out.guardedChanges;
    struct Blocked {
        std::uint32_t test, change;
    };
    std::vector<std::uint8_t> waiting(changes.size(), 0);
    std::array<std::vector<Blocked>, 256> blocked; // by flag
    std::array<bool, 256> queued{};
    std::deque<int> queue;
    const auto grown = [&](std::size_t f) {
        if (!queued[f]) {
            queued[f] = true;
            queue.push_back(static_cast<int>(f));
        }
    };
    const auto happen = [&](std::uint32_t c) {
        changes[c].happens = true;
        if (changes[c].kind != ReachChangeKind::Nothing && applyToValues(changes[c]))
            grown(static_cast<std::size_t>(changes[c].flag));
    };

    // The values the unguarded changes give, then every guard looked at once.
    std::array<Extent, 256> extent{};
    for (std::size_t f = 1; f <= 255; ++f) {
        close(f);
        extent[f] = {bits[f].min(), bits[f].max()};
    }
    for (std::uint32_t c = 0; c < changes.size(); ++c) {
        for (std::uint32_t i = 0; i < 8; ++i) {
            const std::uint32_t t = changes[c].firstTest + i;
            if ((changes[c].guards >> i & 1) != 0 && tests[t].decides() &&
                !canHold(tests[t], bits[tests[t].flag], extent[tests[t].flag])) {
                ++waiting[c];
                blocked[tests[t].flag].push_back({t, c});
            }
        }
    }
    for (std::uint32_t c = 0; c < changes.size(); ++c)
        if (waiting[c] == 0)
            happen(c);

    while (!queue.empty()) {
        const auto f = static_cast<std::size_t>(queue.front());
        queue.pop_front();
        queued[f] = false;
        close(f);
        const Extent e{bits[f].min(), bits[f].max()};
        std::erase_if(blocked[f], [&](const Blocked& b) {
            if (!canHold(tests[b.test], bits[f], e))
                return false;
            if (--waiting[b.change] == 0)
                happen(b.change);
            return true;
        });
    }
}

void FlagReachBuilder::Impl::evaluate() {
    std::array<Extent, 256> extent{};
    for (int f = 1; f <= 255; ++f) {
        const ValueBits& b = bits[static_cast<std::size_t>(f)];
        extent[static_cast<std::size_t>(f)] = {b.min(), b.max()};
        entry(f).values = b.ranges();
    }
    for (ReachTest& t : out.tests) {
        if (!t.decides())
            continue;
        const ValueBits& b = bits[t.flag];
        t.canHold = canHold(t, b, extent[t.flag]);
        t.alwaysHolds = alwaysHolds(t, b, extent[t.flag]);
        entry(t.flag).neverHolds += !t.canHold;
        entry(t.flag).alwaysHolds += t.alwaysHolds;
    }
    for (const ReachChange& c : out.guardedChanges)
        if (!c.happens && c.kind != ReachChangeKind::Nothing)
            ++entry(c.flag).unreachableChanges;
}

void FlagReachBuilder::Impl::collectFindings() {
    // Each class lists items of one kind, which the pass kept in the
    // project's order: a finding is their index, its statement and reason
    // made when it is written (a hostile project has millions), and each
    // list is given its room at once.
    std::size_t never = 0, always = 0, broken = 0, unreachable = 0;
    for (const ReachTest& test : out.tests) {
        never += test.decides() && !test.canHold;
        always += test.decides() && test.alwaysHolds;
    }
    for (const ReachLoad& load : out.loads)
        broken += load.scene < 0 || load.scene > out.sceneCount;
    for (const ReachChange& change : out.guardedChanges)
        unreachable += !change.happens;
    out.neverHolds.reserve(never);
    out.alwaysHolds.reserve(always);
    out.brokenSceneLoads.reserve(broken);
    out.unreachable.reserve(unreachable);
    for (std::uint32_t t = 0; t < out.tests.size(); ++t) {
        const ReachTest& test = out.tests[t];
        if (test.decides() && !test.canHold)
            out.neverHolds.push_back({ReachFindingKind::NeverHolds, t, None});
        if (test.decides() && test.alwaysHolds)
            out.alwaysHolds.push_back({ReachFindingKind::AlwaysHolds, t, None});
    }
    for (const ReachLoad& load : out.loads)
        if (load.scene < 0 || load.scene > out.sceneCount)
            out.brokenSceneLoads.push_back({ReachFindingKind::BrokenSceneLoad, load.test, None});
    for (std::uint32_t c = 0; c < out.guardedChanges.size(); ++c) {
        const ReachChange& change = out.guardedChanges[c];
        if (change.happens)
            continue;
        ReachFinding finding{ReachFindingKind::Unreachable, c, None};
        for (std::uint32_t g = 0; g < 8; ++g)
            if ((change.guards >> g & 1) != 0 && !out.tests[change.firstTest + g].canHold) {
                finding.cause = change.firstTest + g;
                break;
            }
        out.unreachable.push_back(finding);
    }
}

FlagReachBuilder::FlagReachBuilder(int sceneCount, int objectCount)
    : impl_(std::make_unique<Impl>(sceneCount, objectCount)) {}
FlagReachBuilder::~FlagReachBuilder() = default;
FlagReachBuilder::FlagReachBuilder(FlagReachBuilder&&) noexcept = default;
FlagReachBuilder& FlagReachBuilder::operator=(FlagReachBuilder&&) noexcept = default;

void FlagReachBuilder::add(const FlagStatement& s) {
    impl_->add(s);
}

FlagReach FlagReachBuilder::finish() {
    Impl& impl = *impl_;
    if (impl.object.open)
        impl.closeObject();
    impl.solve();
    impl.evaluate();
    impl.collectFindings();
    FlagReach reach = std::move(impl.out);
    impl_.reset();
    return reach;
}

const ReachLoad* FlagReach::loadOf(std::uint32_t test) const {
    const auto it = std::lower_bound(loads.begin(), loads.end(), test,
                                     [](const ReachLoad& l, std::uint32_t t) { return l.test < t; });
    return it != loads.end() && it->test == test ? &*it : nullptr;
}

namespace {

// Where a kept test or change stands, and what it does, as a statement.
template <typename Item> FlagStatement statementOf(const Item& item, FlagUse use) {
    FlagStatement s;
    s.record = item.record;
    s.slot = item.slot;
    s.row = item.row;
    s.use = use;
    s.objectType = item.objectType;
    s.flag = s.markedFlag = item.flag;
    s.value = item.value;
    return s;
}

} // namespace

FlagStatement FlagReach::testStatement(std::uint32_t test) const {
    const ReachTest& t = tests[test];
    FlagStatement s = statementOf(t, FlagUse::Test);
    s.comparison = t.comparison;
    if (const ReachLoad* load = loadOf(test)) {
        s.place = StatementPlace::ConditionalLoad;
        s.flag = s.markedFlag = load->flag;
        s.comparison = load->comparison;
        s.loadsScene = load->scene;
    }
    return s;
}

FlagStatement FlagReach::statement(const ReachFinding& f) const {
    if (f.kind != ReachFindingKind::Unreachable)
        return testStatement(f.item);
    const ReachChange& c = guardedChanges[f.item];
    FlagStatement s = statementOf(c, FlagUse::Change);
    s.whole = c.whole;
    s.marks = c.marks;
    s.adds = c.adds;
    s.valueB = c.valueB;
    return s;
}

std::string FlagReach::reason(const ReachFinding& f) const {
    switch (f.kind) {
    case ReachFindingKind::NeverHolds:
    case ReachFindingKind::AlwaysHolds: {
        const int flag = tests[f.item].flag;
        return valuesReason(flag, this->flag(flag));
    }
    case ReachFindingKind::Unreachable: return f.cause == NoIndex ? std::string() : guardReason(tests[f.cause]);
    case ReachFindingKind::BrokenSceneLoad: {
        const ReachLoad* load = loadOf(f.item);
        return load ? loadReason(load->scene, sceneCount) : std::string();
    }
    }
    return {};
}

FlagReach AnalyzeFlagReach(const FlagStatementList& list, int sceneCount) {
    FlagReachBuilder builder(sceneCount);
    for (const FlagStatement& s : list.statements)
        builder.add(s);
    return builder.finish();
}

Result<FlagReach> ScanFlagReach(LoadedProject& project, ReportHost& host) {
    const Result<ProjectFiles> files = OpenDataFiles(project, host);
    if (!files)
        return files.failure();
    host.setProgressMaximum(project.SceneCount + project.CueCardCount + project.InventoryItemCount);
    host.setProgressValue(0);
    FlagReach reach = GatherFlagReach({project, *files}, [&host] { StepProgress(host); });
    if (reach.failure)
        return *reach.failure;
    return reach;
}

FlagReach GatherFlagReach(ProjectSource source, const std::function<void()>& unitDone) {
    FlagReachBuilder builder(source.project.SceneCount, source.project.InsertableObjectCount);
    GatherOptions options;
    options.sentences = false;
    options.keep = [&builder](const FlagStatement& s) {
        builder.add(s);
        return false;
    };
    FlagStatementList list;
    GatherFlagStatements(source, list, options, [&unitDone](FlagStatementList&) {
        if (unitDone)
            unitDone();
    });
    if (Result<void> scenes = source.completeScenes(); !scenes && !list.readFailure)
        list.readFailure = scenes.failure();
    if (list.readFailure) {
        FlagReach failed;
        failed.failure = list.readFailure;
        return failed;
    }
    return builder.finish();
}

} // namespace orv
