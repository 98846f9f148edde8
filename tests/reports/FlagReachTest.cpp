#include "reports/FlagReach.h"

#include "reports/FlagReachReport.h"
#include "reports/FlagValues.h"
#include "reports/ReportFixture.h"
#include "reports/StatementClassifier.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>

// What each flag can reach, on small projects made with the builder and classified in memory by the same
// classifier the reports use: a table of cases and a differential test against a plain fixpoint on random
// projects. The flag usage summary's sections are in the sample project's expected text.

namespace orv::testing {
namespace {

struct Cond {
    Integer flag, comparison, value;
};
struct Chg {
    Integer flag, value;
    Integer adds = 0;
};

// The objects, by the offsets of their settings. A guard left out is switched off.
ObjectSlot visibleThen(Integer type, std::optional<Cond> when, std::optional<Chg> then) {
    const std::size_t visibility = type == 1 ? 167 : type == 2 ? 163 : 149; // Ambient, HotSpot, Goodie, Reactor
    Settings s;
    if (when)
        s.push_back({visibility, {2, when->flag, when->comparison, when->value}});
    if (then)
        s.push_back({visibility + 8, {1, then->flag, then->value, then->adds}});
    return objectOf(type, s);
}
ObjectSlot switchObject(Integer flag, Integer a, Integer b, std::optional<Cond> when) {
    Settings s{{141, {flag, a}}, {149, {b}}};
    if (when)
        s.push_back({165, {2, when->flag, when->comparison, when->value}});
    return objectOf(3, s);
}
ObjectSlot responder(std::optional<Cond> when, Chg then) {
    Settings s{{165, {1, then.flag, then.value, then.adds}}};
    if (when)
        s.push_back({141, {1, when->flag, when->comparison, when->value}});
    return objectOf(5, s);
}
ObjectSlot delay(Cond when, Chg then) {
    return objectOf(6, {{143, {when.flag, when.comparison, when.value, 5, then.flag, then.value, then.adds}}});
}
ObjectSlot multiTrigger(std::array<Cond, 3> when, std::array<std::optional<Chg>, 3> then) {
    Settings s;
    for (std::size_t t = 0; t < 3; ++t) {
        const std::size_t b = 143 + 16 * t;
        s.push_back({b, {when[t].flag, when[t].comparison, when[t].value}});
        if (then[t])
            s.push_back({b + 6, {1, then[t]->flag, then[t]->value, then[t]->adds}});
    }
    return objectOf(7, s);
}
ObjectSlot conversation(Cond when) {
    return objectOf(8, {{143, {2, when.flag, when.comparison, when.value}}});
}
ObjectSlot conjunction(std::vector<Cond> conditions, std::vector<std::string> texts) {
    Settings s;
    for (std::size_t i = 0; i < conditions.size(); ++i)
        s.push_back({143 + 8 * i, {1, conditions[i].flag, conditions[i].comparison, conditions[i].value}});
    return objectOf(9, s, texts);
}

// Every enabled statement of the project, in list order, as the gathering makes them.
FlagStatementList classified(const ProjectBuilder& b) {
    LoadedProject project;
    project.SceneNames = {"(Not A Scene)"};
    for (const SceneRecord& scene : b.scenes)
        project.SceneNames.push_back(scene.SceneName);
    FlagStatementList list;
    const GatherOptions options;
    StatementCollector out(list, options);
    ClassifyPlayerSettings(b.settings, out);
    for (Integer s = 1; s <= Integer(b.scenes.size()); ++s) {
        const SceneRecord& scene = b.scenes[std::size_t(s - 1)];
        std::string reference;
        AppendSceneReference(reference, project, s);
        ClassifySceneHeader(scene, s, reference, project.sceneName(scene.CondLoadScene), out);
        for (Integer k = 1; k <= 20; ++k)
            if (scene.slot(k).ObjectType != -1)
                ClassifyObject(scene.slot(k).ObjectType, scene.slot(k), s, k, reference, out);
    }
    for (Integer c = 1; c <= Integer(b.cueCards.size()); ++c)
        ClassifyCueCard(b.cueCards[std::size_t(c - 1)], c, out);
    for (Integer i = 1; i <= Integer(b.items.size()); ++i)
        ClassifyInventoryItem(b.items[std::size_t(i - 1)], i, out);
    return list;
}

FlagReach analysed(const ProjectBuilder& b) {
    return AnalyzeFlagReach(classified(b), int(b.scenes.size()));
}

// "0 3 7", "0..32767": the runs of a flag's values.
std::string runs(const FlagValues& v) {
    std::string out;
    for (const ValueRange& r : v.ranges)
        out +=
            (out.empty() ? "" : " ") + std::to_string(r.low) + (r.low == r.high ? "" : ".." + std::to_string(r.high));
    return out;
}

// "2/3/1": scene 2, slot 3, row 1; "2/load": scene 2's conditional load.
std::string place(const FlagStatement& s) {
    return std::to_string(s.record) + "/" +
           (s.place == StatementPlace::ConditionalLoad ? std::string("load")
                                                       : std::to_string(s.slot) + "/" + std::to_string(s.row));
}
std::vector<std::string> places(const FlagReach& r, const std::vector<ReachFinding>& findings) {
    std::vector<std::string> out;
    for (const ReachFinding& f : findings)
        out.push_back(place(r.statement(f)));
    return out;
}

SceneRecord sceneOf(std::vector<ObjectSlot> objects) {
    SceneRecord scene = makeScene("Room");
    std::ranges::copy(objects, scene.Slots.begin());
    return scene;
}

struct Case {
    const char* name;
    std::function<void(ProjectBuilder&)> build;
    std::map<int, std::string> values; // flag -> runs
    std::vector<std::string> never{}, unreachable{}, always{}, broken{};
};

const Case Cases[] = {
    {"a set gives its value; an untouched flag stays at 0",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({visibleThen(0, {}, Chg{1, 5})})};
     },
     {{1, "0 5"}, {2, "0"}}},
    {"adds within 16 bits repeat; sums beyond are dropped",
     [](ProjectBuilder& b) {
         b.cueCards = {{0, {1, 1, 1, 0, 0}, {2, 3, 3}, {10000, 30000, -20000}, {1, 1, 1}, {}}};
     },
     {{2, "0 10000 20000 30000"}, {3, "-30000 -20000 -10000 0 10000 20000 30000"}}},
    {"adding 1 and -1 reaches every value; a set and an add combine",
     [](ProjectBuilder& b) {
         b.items = {{{}, 1, 4, 1, 1, 0},
                    {{}, 1, 5, -1, 1, 0},
                    {{}, 1, 5, 1, 1, 0},
                    {{}, 1, 6, 7, 0, 0},
                    {{}, 1, 6, 10000, 1, 0}};
     },
     {{4, "0..32767"}, {5, "-32768..32767"}, {6, "0 7 10000 10007 20000 20007 30000 30007"}}},
    {"a switch gives both positions; a switch that is never visible gives none",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({switchObject(7, 3, -2, {}), switchObject(8, 4, 5, Cond{9, 0, 1})})};
     },
     {{7, "-2 0 3"}, {8, "0"}},
     {"1/2/1"},
     {"1/2/0"}},
    {"a conjunction result: a fractional flag text or an inexact value leaves the flag open",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({conjunction({}, {"7.5", "1", "0"}), conjunction({}, {"9", "2.5", "0"}),
                              conjunction({}, {"10", "10000", "1"}), conjunction({}, {"11", "70000", "0"}),
                              conjunction({}, {"abc", "4", "0"}), conjunction({}, {"99999", "4", "0"}),
                              conjunction({}, {"300", "4", "0"})})};
     },
     {{8, "-32768..32767"}, {9, "-32768..32767"}, {10, "0 10000 20000 30000"}, {11, "-32768..32767"}}},
    {"the score flag takes any value, only while the score is on",
     [](ProjectBuilder& b) {
         b.settings.ScoreEnabled = 1;
         b.settings.ScoreFlag = 12;
         b.scenes = {sceneOf({visibleThen(1, Cond{12, 3, 32767}, Chg{13, 1})})};
     },
     {{12, "-32768..32767"}, {13, "0"}},
     {"1/1/0"},
     {"1/1/1"}},
    {"the score switched off (2) gives nothing",
     [](ProjectBuilder& b) {
         b.settings.ScoreEnabled = 2;
         b.settings.ScoreFlag = 12;
     },
     {{12, "0"}}},
    {"the visibility of Ambient, HotSpot, Goodie and Reactor objects guards their change",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({visibleThen(0, Cond{20, 0, 1}, Chg{21, 1}), visibleThen(1, Cond{20, 0, 1}, Chg{22, 1}),
                              visibleThen(2, Cond{20, 0, 1}, Chg{23, 1}), visibleThen(4, Cond{20, 0, 1}, Chg{24, 1}),
                              visibleThen(0, Cond{20, 0, 0}, Chg{25, 1})})};
     },
     {{21, "0"}, {22, "0"}, {23, "0"}, {24, "0"}, {25, "0..1"}},
     {"1/1/0", "1/2/0", "1/3/0", "1/4/0"},
     {"1/1/1", "1/2/1", "1/3/1", "1/4/1"},
     {"1/5/0"}},
    {"a Responder's activation guards its change only while switched on; a Delay's always",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({responder(Cond{30, 2, 0}, Chg{31, 1}), responder({}, Chg{32, 1}),
                              delay(Cond{30, 3, 0}, Chg{33, 1}), delay(Cond{30, 3, -1}, Chg{34, 1})})};
     },
     {{31, "0"}, {32, "0..1"}, {33, "0"}, {34, "0..1"}},
     {"1/1/0", "1/3/0"},
     {"1/1/1", "1/3/1"},
     {"1/4/0"}},
    {"each trigger guards its own change",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf(
             {multiTrigger({Cond{40, 0, 5}, Cond{40, 0, 0}, Cond{40, 1, 0}}, {Chg{41, 1}, Chg{42, 1}, Chg{43, 1}})})};
     },
     {{41, "0"}, {42, "0..1"}, {43, "0"}},
     {"1/1/0", "1/1/2"},
     {"1/1/3", "1/1/5"},
     {"1/1/1"}},
    {"a conjunction's result needs all its conditions; a Conversation's test guards nothing",
     [](ProjectBuilder& b) {
         b.scenes = {
             sceneOf({conjunction({Cond{50, 0, 0}, Cond{51, 0, 0}}, {"52", "1", "0"}),
                      conjunction({Cond{50, 0, 0}, Cond{51, 0, 1}}, {"53", "1", "0"}), conversation(Cond{53, 0, 1})})};
     },
     {{52, "0..1"}, {53, "0"}},
     {"1/2/1", "1/3/0"},
     {"1/2/6"},
     {"1/1/0", "1/1/1", "1/2/0"}},
    {"a value-precise dead end cascades three deep",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({visibleThen(0, {}, Chg{60, 1}), visibleThen(1, {}, Chg{60, 2}),
                              visibleThen(1, Cond{60, 0, 3}, Chg{61, 1}), visibleThen(2, Cond{61, 0, 1}, Chg{62, 1}),
                              visibleThen(4, Cond{62, 0, 1}, Chg{63, 1}), visibleThen(0, Cond{63, 3, 0}, Chg{64, 1})})};
     },
     {{60, "0..2"}, {61, "0"}, {62, "0"}, {63, "0"}, {64, "0"}},
     {"1/3/0", "1/4/0", "1/5/0", "1/6/0"},
     {"1/3/1", "1/4/1", "1/5/1", "1/6/1"}},
    {"a guard on the flag it changes",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({visibleThen(0, Cond{70, 0, 0}, Chg{70, 1}), visibleThen(0, Cond{71, 0, 1}, Chg{71, 2}),
                              visibleThen(0, Cond{72, 2, 3}, Chg{72, 1, 1})})};
     },
     {{70, "0..1"}, {71, "0"}, {72, "0..32767"}},
     {"1/2/0"},
     {"1/2/1"}},
    {"codes outside 0 to 3 and flags outside 1 to 255 can hold and are never reported",
     [](ProjectBuilder& b) {
         b.scenes = {sceneOf({visibleThen(0, Cond{80, 7, 5}, Chg{81, 1}), visibleThen(0, Cond{0, 0, 5}, Chg{82, 1}),
                              visibleThen(0, {}, Chg{300, 1}), visibleThen(0, Cond{83, 0, 9}, Chg{-4, 1})})};
     },
     {{81, "0..1"}, {82, "0..1"}},
     {"1/4/0"},
     {"1/4/1"}},
    {"conditional loads: 0 loads nothing, above the scene count or negative is no scene",
     [](ProjectBuilder& b) {
         b.scenes = {sceneWith("A", {1, 90, 0, 1, 0}, {0, 0, 0, 0}), sceneWith("B", {1, 90, 0, 0, 3}, {0, 0, 0, 0}),
                     sceneWith("C", {1, 300, 0, 0, 5}, {0, 0, 0, 0}), sceneWith("D", {1, 90, 1, 0, -1}, {1, 91, 2, 0})};
     },
     {{90, "0"}, {91, "0 2"}},
     {"1/load", "4/load"},
     {},
     {"2/load"},
     {"3/load", "4/load"}},
};

class ReachCases : public ::testing::TestWithParam<Case> {};

TEST_P(ReachCases, ValuesAndFindings) {
    const Case& c = GetParam();
    ProjectBuilder b;
    c.build(b);
    const FlagReach r = analysed(b);
    for (const auto& [flag, expected] : c.values)
        EXPECT_EQ(runs(r.flag(flag).values), expected) << "flag " << flag;
    EXPECT_EQ(places(r, r.neverHolds), c.never);
    EXPECT_EQ(places(r, r.unreachable), c.unreachable);
    EXPECT_EQ(places(r, r.alwaysHolds), c.always);
    EXPECT_EQ(places(r, r.brokenSceneLoads), c.broken);
}

INSTANTIATE_TEST_SUITE_P(FlagReach, ReachCases, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& c) {
                             std::string name;
                             for (const char* p = c.param.name; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     name += *p;
                             return name.substr(0, 60);
                         });

FlagValues valuesOf(std::vector<ValueRange> ranges) {
    return {std::move(ranges)};
}

TEST(FlagReach, ValuesAreNamedUpToFiveItemsAndTheRestCounted) {
    const std::pair<FlagValues, std::string> cases[] = {
        {valuesOf({{0, 0}}), "0"},
        {valuesOf({{0, 1}}), "0 or 1"},
        {valuesOf({{0, 2}}), "0, 1 or 2"},
        {valuesOf({{-2, -2}, {0, 0}, {3, 3}}), "-2, 0 or 3"},
        {valuesOf({{0, 3}}), "0 to 3"},
        {valuesOf({{0, 32767}}), "0 to 32767"},
        {valuesOf({{-32768, 32767}}), "any value from -32768 to 32767"},
        {valuesOf({{0, 0}, {10000, 10000}, {20000, 20000}, {30000, 30000}}), "0 to 30000 in steps of 10000"},
        {valuesOf({{0, 0}, {10000, 10000}, {20000, 20000}}), "0, 10000 or 20000"},
        {valuesOf({{1, 2}, {4, 4}, {8, 8}, {16, 16}, {32, 32}, {64, 64}}), "1, 2, 4, 8, 16 or 2 other values"},
        {valuesOf({{1, 2}, {4, 4}, {8, 8}, {16, 16}}), "1, 2, 4, 8 or 16"},
        {valuesOf({{0, 3}, {5, 5}, {10, 20}}), "0 to 3, 5 or 10 to 20"},
        {valuesOf({{0, 0}, {5, 5}, {10, 10}, {15, 17}}), "0 to 15 in steps of 5, 16 or 17"},
        {valuesOf({{0, 0}, {7, 7}, {10000, 10000}, {10007, 10007}, {20000, 20000}, {20007, 20007}}),
         "0, 7, 10000, 10007, 20000 or 1 other value"},
    };
    for (const auto& [values, text] : cases)
        EXPECT_EQ(DescribeFlagValues(values), text) << runs(values);
    EXPECT_EQ(DescribeFlagValues(valuesOf({{0, 0}, {2, 2}, {5, 5}, {9, 9}}), 2), "0, 2 or 2 other values");
    const FlagValues v = valuesOf({{-5, -3}, {4, 4}, {8, 9}});
    EXPECT_EQ(v.count(), 6);
    for (const auto& [value, in] :
         {std::pair{-6, false}, {-5, true}, {-3, true}, {-2, false}, {4, true}, {5, false}, {9, true}, {10, false}})
        EXPECT_EQ(v.contains(Integer(value)), in) << value;
}

TEST(FlagReach, ReasonsSayWhatTheFlagCanBeAndWhichGuardFails) {
    ProjectBuilder b;
    b.scenes = {sceneOf({visibleThen(0, {}, Chg{7, 1}), visibleThen(0, {}, Chg{7, 2}),
                         visibleThen(1, Cond{7, 0, 3}, Chg{9, 4}), responder(Cond{9, 0, 4}, Chg{10, 1}),
                         multiTrigger({Cond{11, 0, 1}, Cond{1, 0, 0}, Cond{1, 0, 0}}, {Chg{12, 1}, {}, {}}),
                         conjunction({Cond{1, 0, 0}, Cond{10, 2, 0}}, {"13", "1", "0"})})};
    const FlagReach r = analysed(b);
    std::vector<std::string> reasons;
    for (const auto* list : {&r.neverHolds, &r.unreachable})
        for (const ReachFinding& f : *list)
            reasons.push_back(place(r.statement(f)) + ": " + r.reason(f));
    EXPECT_EQ(reasons,
              (std::vector<std::string>{
                  "1/3/0: flag # 7 can only be 0, 1 or 2",
                  "1/4/0: none of the changes of flag # 9 can happen, so it is always 0",
                  "1/5/0: nothing changes flag # 11, so it is always 0",
                  "1/6/1: none of the changes of flag # 10 can happen, so it is always 0",
                  "1/3/1: its object is visible only when flag # 7 = 3, which never holds",
                  "1/4/1: its object is activated only when flag # 9 = 4, which never holds",
                  "1/5/3: trigger # 1 is activated only when flag # 11 = 1, which never holds",
                  "1/6/6: all its conditions must hold, and condition B needs flag # 10 < 0, which never holds",
              }));
    // The cause of each change that can never happen is one of the tests that never hold.
    for (const ReachFinding& f : r.unreachable) {
        ASSERT_LT(f.cause, r.tests.size());
        EXPECT_FALSE(r.tests[f.cause].canHold);
        EXPECT_EQ(r.testStatement(f.cause).record, r.statement(f).record);
    }
    EXPECT_TRUE(r.flag(9).everyChangeUnreachable());
    EXPECT_FALSE(r.flag(7).everyChangeUnreachable());
    EXPECT_EQ(r.flag(7).neverHolds, 1);
}

TEST(FlagReach, AddsCarryValuesAcrossTheEdgesOfTheRange) {
    ProjectBuilder b; // a value 40 above the bottom (and 40 below the top) moved by 100 at a time
    b.items = {{{}, 1, 8, -32728, 0, 0}, {{}, 1, 8, 100, 1, 0}, {{}, 1, 9, 32727, 0, 0}, {{}, 1, 9, -100, 1, 0}};
    const FlagReach r = analysed(b);
    for (const auto& [flag, low, high, in] : {std::tuple{8, -32728, 32700, -32628}, {9, -32700, 32727, 32627}}) {
        const FlagValues& v = r.flag(flag).values;
        EXPECT_EQ(v.count(), 328 + 655) << flag; // from 0 and from the value set, 100 apart
        EXPECT_EQ(v.min(), low);
        EXPECT_EQ(v.max(), high);
        EXPECT_TRUE(v.contains(Integer(in)));
        EXPECT_FALSE(v.contains(Integer(in + 1)));
    }
}

// The model applied the plain way: every change looked at again and again, each value of a flag tried
// against each guard, until nothing changes. Which test guards which change is written out here from
// the object statements table, independently of the analysis.
struct PlainFixpoint {
    std::map<int, std::vector<char>> has; // flags 1 to 255 that something names; the others stay at 0
    std::set<std::string> never, always, unreachable;

    static bool holds(long x, Integer code, Integer v) {
        return code == 0 ? x == v : code == 1 ? x != v : code == 2 ? x < v : x > v;
    }
    const std::vector<char>& values(int flag) const {
        static const std::vector<char> zero = [] {
            std::vector<char> v(65536, 0);
            v[32768] = 1;
            return v;
        }();
        const auto it = has.find(flag);
        return it == has.end() ? zero : it->second;
    }
    static bool decides(const FlagStatement& t) {
        return t.flag >= 1 && t.flag <= 255 && t.comparison >= 0 && t.comparison <= 3;
    }
    // Whether the test holds for some value the flag can take (`wanted` true), or fails for some (false).
    bool someValue(const FlagStatement& t, bool wanted) const {
        for (long x = -32768; x <= 32767; ++x)
            if (values(t.flag)[std::size_t(x + 32768)] && holds(x, t.comparison, t.value) == wanted)
                return true;
        return false;
    }
    bool canHold(const FlagStatement& t) const { return !decides(t) || someValue(t, true); }
    bool alwaysHolds(const FlagStatement& t) const { return decides(t) && !someValue(t, false); }
    static std::vector<int> guardRows(Integer type, int row) {
        const std::map<std::pair<int, int>, std::vector<int>> guards = {{{0, 1}, {0}},
                                                                        {{1, 1}, {0}},
                                                                        {{2, 1}, {0}},
                                                                        {{3, 0}, {1}},
                                                                        {{4, 1}, {0}},
                                                                        {{5, 1}, {0}},
                                                                        {{6, 1}, {0}},
                                                                        {{7, 3}, {0}},
                                                                        {{7, 4}, {1}},
                                                                        {{7, 5}, {2}},
                                                                        {{9, 6}, {0, 1, 2, 3, 4, 5}}};
        const auto it = guards.find({type, row});
        return it == guards.end() ? std::vector<int>{} : it->second;
    }
    bool apply(const FlagStatement& c) {
        const bool conjunction = c.place == StatementPlace::Object && c.objectType == 9;
        if (conjunction && !c.marks)
            return false;
        if (c.flag < 1 || c.flag > 255)
            return false;
        if (!has.contains(c.flag))
            has[c.flag] = values(0);
        std::vector<char>& v = has[c.flag];
        const auto set = [&](long x) { return !std::exchange(v[std::size_t(x + 32768)], 1); };
        bool grew = false;
        if (c.use == FlagUse::Score || (conjunction && (!c.whole || !c.valueWhole))) {
            for (long x = -32768; x <= 32767; ++x)
                grew |= set(x);
        } else if (c.place == StatementPlace::Object && c.objectType == 3) {
            grew = set(c.value) | set(c.valueB);
        } else if (!c.adds) {
            grew = set(c.value);
        } else if (c.value > 0) { // upwards, so that each new value is added to again
            for (long x = -32768; x + c.value <= 32767; ++x)
                if (v[std::size_t(x + 32768)])
                    grew |= set(x + c.value);
        } else if (c.value < 0) {
            for (long x = 32767; x + c.value >= -32768; --x)
                if (v[std::size_t(x + 32768)])
                    grew |= set(x + c.value);
        }
        return grew;
    }

    explicit PlainFixpoint(const FlagStatementList& list) {
        struct Guarded {
            FlagStatement change;
            std::vector<FlagStatement> guards;
        };
        std::vector<Guarded> changes;
        std::vector<FlagStatement> tests;
        for (const FlagStatement& s : list.statements) {
            if (s.use == FlagUse::Test)
                tests.push_back(s);
            if (s.use != FlagUse::Change && s.use != FlagUse::Score)
                continue;
            Guarded g{s, {}};
            for (int row : guardRows(s.objectType, s.row))
                for (const FlagStatement& t : list.statements)
                    if (t.use == FlagUse::Test && t.place == StatementPlace::Object && t.record == s.record &&
                        t.slot == s.slot && t.row == row && s.place == StatementPlace::Object)
                        g.guards.push_back(t);
            changes.push_back(g);
        }
        for (bool grew = true; grew;) {
            grew = false;
            for (const Guarded& g : changes)
                if (std::ranges::all_of(g.guards, [&](const FlagStatement& t) { return canHold(t); }))
                    grew |= apply(g.change);
        }
        for (const FlagStatement& t : tests) {
            if (!canHold(t))
                never.insert(place(t));
            if (alwaysHolds(t))
                always.insert(place(t));
        }
        for (const Guarded& g : changes)
            if (!g.guards.empty() && !std::ranges::all_of(g.guards, [&](const FlagStatement& t) { return canHold(t); }))
                unreachable.insert(place(g.change));
    }
};

std::set<std::string> placeSet(const FlagReach& r, const std::vector<ReachFinding>& findings) {
    const std::vector<std::string> list = places(r, findings);
    return {list.begin(), list.end()};
}

// Flags 1 to 6 mostly (and now and then 0 or 300), small values with an occasional large one, every kind
// of object, guard and change, switched on or off at random.
ProjectBuilder randomProject(std::mt19937& random) {
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto flag = [&] {
        const int k = pick(0, 20);
        return Integer(k == 0 ? 0 : k == 1 ? 300 : pick(1, 6));
    };
    const auto value = [&] {
        const Integer large[] = {32767, -32768, 30000, -20000, 12345};
        return pick(0, 12) == 0 ? large[pick(0, 4)] : Integer(pick(-3, 6));
    };
    ProjectBuilder b;
    b.settings.ScoreEnabled = Integer(pick(0, 8) == 0);
    b.settings.ScoreFlag = flag();
    const int scenes = pick(1, 3);
    for (int s = 1; s <= scenes; ++s) {
        SceneRecord scene =
            sceneWith("S", {Integer(pick(0, 1)), flag(), Integer(pick(-1, 4)), value(), Integer(pick(-1, 4))},
                      {Integer(pick(0, 1)), flag(), value(), Integer(pick(0, 1))});
        const int objects = pick(1, 8);
        for (int k = 0; k < objects; ++k) {
            ObjectSlot& slot = scene.Slots[std::size_t(k)];
            slot.ObjectType = Integer(pick(-1, 10));
            for (std::size_t offset = 141; offset <= 205; offset += 2)
                setSetting(slot, offset, value());
            // The switches: mostly on, so that guards are in force.
            for (std::size_t offset : {149, 167, 163, 165, 143})
                if (pick(0, 3) > 0)
                    setSetting(slot, offset, 2);
            for (std::size_t offset : {157, 175, 171, 141, 165, 149, 181, 143, 151, 159, 167, 183})
                if (slot.ObjectType != 3 && pick(0, 2) > 0)
                    setSetting(slot, offset, 1);
            for (std::size_t offset : {151, 169, 165, 167, 159, 177, 173, 143, 145, 153, 161, 185})
                if (pick(0, 1))
                    setSetting(slot, offset, flag());
            for (std::size_t offset : {153, 171, 167, 169, 161, 179, 175, 145, 147, 163, 187})
                if (pick(0, 1))
                    setSetting(slot, offset, Integer(pick(0, 3)));
            const char* texts[] = {"1", "2", "3", "2.5", "abc", "99999", "300", "-1", ""};
            for (std::size_t t = 0; t < 3; ++t)
                slot.ObjectText[t] = texts[pick(0, 8)];
        }
        b.scenes.push_back(scene);
    }
    b.cueCards.resize(std::size_t(pick(0, 1)));
    for (CueCardRecord& card : b.cueCards)
        for (std::size_t c = 0; c < 5; ++c)
            std::tie(card.ChoiceSetsFlag[c], card.ChoiceFlag[c], card.ChoiceValue[c], card.ChoiceAdds[c]) =
                std::tuple(Integer(pick(0, 3) == 0), flag(), value(), Integer(pick(0, 1)));
    b.items.resize(std::size_t(pick(0, 2)));
    for (InventoryItemRecord& item : b.items)
        std::tie(item.ExamineSetsFlag, item.ExamineFlag, item.ExamineValue, item.ExamineAdds) =
            std::tuple(Integer(pick(0, 2) == 0), flag(), value(), Integer(pick(0, 1)));
    return b;
}

TEST(FlagReach, AgreesWithAPlainFixpointOnRandomProjects) {
    std::mt19937 random(17);
    int findings = 0;
    for (int n = 0; n < 150; ++n) {
        const ProjectBuilder b = randomProject(random);
        const FlagStatementList list = classified(b);
        const FlagReach r = AnalyzeFlagReach(list, int(b.scenes.size()));
        const PlainFixpoint plain(list);
        for (int f = 1; f <= 255; ++f) {
            if (!plain.has.contains(f)) {
                ASSERT_EQ(runs(r.flag(f).values), "0") << "project " << n << ", flag " << f;
                continue;
            }
            std::vector<ValueRange> ranges;
            for (long x = -32768; x <= 32767; ++x) {
                if (!plain.has.at(f)[std::size_t(x + 32768)])
                    continue;
                if (!ranges.empty() && ranges.back().high == x - 1)
                    ranges.back().high = Integer(x);
                else
                    ranges.push_back({Integer(x), Integer(x)});
            }
            ASSERT_EQ(runs(r.flag(f).values), runs(FlagValues{ranges})) << "project " << n << ", flag " << f;
        }
        EXPECT_EQ(placeSet(r, r.neverHolds), plain.never) << "project " << n;
        EXPECT_EQ(placeSet(r, r.alwaysHolds), plain.always) << "project " << n;
        EXPECT_EQ(placeSet(r, r.unreachable), plain.unreachable) << "project " << n;
        findings += int(r.neverHolds.size() + r.unreachable.size());
    }
    EXPECT_GT(findings, 150); // the projects are not all trivially fine
}

} // namespace
} // namespace orv::testing
