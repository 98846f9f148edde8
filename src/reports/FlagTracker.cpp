#include "reports/FlagTracker.h"

#include "reports/FlagStatements.h"
#include "reports/Phrasing.h"
#include "reports/RecordStatements.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <array>
#include <exception>
#include <string>
#include <vector>

namespace orv {

namespace {

constexpr std::string_view OrderNote = "\nNOTE: The order in which flags are reported does not necessarily reflect the "
                                       "order in which the flags are changed when playing the game.";
constexpr std::string_view CheckboxNote = "\nNOTE: Flags that have been specified in properties, but have their "
                                          "governing checkbox UNCHECKED, are not listed in this report.";

// Both trackers run under a resume-next policy: a step that fails is left
// out and the report goes on with the next one. This is the one place that
// policy lives.
template <typename Step>
void step(Step&& body) {
    try {
        body();
    } catch (const std::exception&) {
    }
}

void write(ReportContext& ctx, std::string_view piece) {
    step([&] { ctx.text.append(piece); });
}

void writeSentence(ReportContext& ctx, const FlagStatementList& list, const FlagStatement& s) {
    step([&] {
        ctx.text.append("\n");
        ctx.text.append(list.sentence(s));
    });
}

void commonOpening(ReportContext& ctx, std::string_view banner) {
    step([&] { AppendOpening(ctx.text, banner); });
    write(ctx, OrderNote);
    write(ctx, CheckboxNote);
}

void startProgress(ReportContext& ctx, int maximum) {
    ctx.host.setProgressMaximum(maximum);
    ctx.host.setProgressValue(0);
    ctx.host.yield();
}

// The score flag, asked for once before the sections, and five progress
// steps for it.
void describePlayerSettings(ReportContext& ctx) {
    step([&] { DescribePlayerSettings(2, Track, ctx); });
    for (int i = 0; i < 5; ++i)
        step([&] { StepProgress(ctx.host); });
}

// The statements of the flag-ordered sections, read once: for each flag of
// the range the positions of its statements in list order, and the problem
// lines, which every section repeats at their places.
class SectionIndex {
public:
    SectionIndex(const FlagStatementList& list, int first, int last) : first_(first) {
        const auto& all = list.statements;
        const std::size_t flags = static_cast<std::size_t>(last - first + 1);
        start_.assign(flags + 1, 0);
        for (std::uint32_t i = 0; i < all.size(); ++i) {
            if (all[i].use == FlagUse::Problem)
                problems_.push_back(i);
            else
                ++start_[key(all[i].flag) + 1];
        }
        for (std::size_t k = 1; k <= flags; ++k)
            start_[k] += start_[k - 1];
        order_.resize(start_[flags]);
        std::vector<std::uint32_t> next(start_.begin(), start_.end() - 1);
        for (std::uint32_t i = 0; i < all.size(); ++i)
            if (all[i].use != FlagUse::Problem)
                order_[next[key(all[i].flag)]++] = i;
    }

    const std::vector<std::uint32_t>& problems() const { return problems_; }

    // Flag f's statements and the problem lines, in list order.
    template <typename Visit>
    void section(int f, Visit&& visit) const {
        const std::uint32_t* a = order_.data() + start_[key(f)];
        const std::uint32_t* aEnd = order_.data() + start_[key(f) + 1];
        const std::uint32_t* b = problems_.data();
        const std::uint32_t* bEnd = b + problems_.size();
        while (a != aEnd || b != bEnd)
            visit(b == bEnd || (a != aEnd && *a < *b) ? *a++ : *b++);
    }

private:
    std::size_t key(int flag) const { return static_cast<std::size_t>(flag - first_); }

    int first_;
    std::vector<std::uint32_t> start_; // flag f's statements: order_[start_[f - first] .. start_[f - first + 1])
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> problems_;
};

// The statements a flag-ordered run writes: those about a flag of its range
// (a conjunction result only when its text is that whole number), and the
// problem lines. The score line is written before the sections.
bool inSections(const FlagStatement& s, int first, int last) {
    if (s.place == StatementPlace::PlayerSettings)
        return false;
    return s.use == FlagUse::Problem || (s.whole && s.flag >= first && s.flag <= last);
}

} // namespace

// The flag-ordered report reads the project once, during the first flag's
// section (stepping the bar per scene, cue card and item as it goes), and
// writes every later section from the statements it kept, stepping the bar
// by the section's units at once. What it writes, the progress maximum and
// value, TrackedFlag and the points at which a cancel takes effect are those
// of reading the project once per flag.
void FlagTrackerByFlag(ReportContext& ctx) {
    RunState& run = ctx.run;
    const ProjectState& project = ctx.project;
    run.ReportName = "Flags Report";
    run.EveryFlag = false;
    commonOpening(ctx, FlagTrackerByFlagBanner);
    write(ctx, "\n");

    const bool all = run.TrackedFlag == AllSelector;
    const int first = all ? 1 : run.TrackedFlag;
    const int last = all ? 255 : run.TrackedFlag;
    const int flags = last - first + 1;
    const int units = project.SceneCount + project.CueCardCount + project.InventoryItemCount;
    startProgress(ctx, units * flags + 5);
    // With 999 still in TrackedFlag no score flag can match here.
    describePlayerSettings(ctx);

    FlagStatementList list;
    std::optional<SectionIndex> index;
    for (int f = first; f <= last; ++f) {
        if (run.CancelRequested)
            return;
        run.TrackedFlag = static_cast<Integer>(f);
        std::string heading = "\n>>>>>> FLAG #";
        AppendSigned(heading, f);
        heading += " <<<<<<";
        write(ctx, heading);
        if (f == first) {
            GatherOptions options;
            options.keep = [first, last](const FlagStatement& s) { return inSections(s, first, last); };
            step([&] { GatherFlagStatements(ctx, list, options, [&](FlagStatementList&) { StepProgress(ctx.host); }); });
            if (list.scenesRead > 0)
                run.CurrentObject = 20;
            step([&] {
                index.emplace(list, first, last);
                std::size_t problemBytes = 0;
                for (std::uint32_t i : index->problems())
                    problemBytes += 1 + list.statements[i].sentenceLength;
                ctx.text.reserveMore(list.sentences.size() + list.statements.size() +
                                     static_cast<std::size_t>(flags) * (problemBytes + 24) + 80);
            });
        } else {
            StepProgressBy(ctx.host, units);
        }
        if (index)
            index->section(f, [&](std::uint32_t i) { writeSentence(ctx, list, list.statements[i]); });
        write(ctx, "\n");
    }
    step([&] { AppendClosing(ctx.text); });
}

void FlagTrackerByScene(ReportContext& ctx) {
    RunState& run = ctx.run;
    const ProjectState& project = ctx.project;
    run.ReportName = "Scene Flags Report";
    run.EveryFlag = true;
    commonOpening(ctx, FlagTrackerBySceneBanner);

    const bool all = run.TrackedScene == AllSelector;
    const int first = all ? 1 : run.TrackedScene;
    const int last = all ? project.SceneCount : run.TrackedScene;
    startProgress(ctx, last - first + 1 + 5);
    describePlayerSettings(ctx);

    if (project.SceneCount > 0) {
        std::optional<FlagStatementGatherer> gatherer;
        step([&] { gatherer.emplace(ctx); });
        FlagStatementList list;
        for (int s = first; s <= last; ++s) {
            if (run.CancelRequested)
                return;
            run.TrackedScene = static_cast<Integer>(s);
            std::string heading = "\n\n>>>>>> SCENE #";
            AppendSigned(heading, s);
            heading += " (";
            heading += project.sceneName(s);
            heading += ") <<<<<<";
            write(ctx, heading);
            list.clear();
            bool read = false;
            step([&] { read = gatherer && gatherer->GatherScene(static_cast<Integer>(s), list); });
            if (read)
                run.CurrentObject = 20;
            // Every statement makes its own flag the tracked one first (a
            // conjunction result its rounded flag), so all are written but a
            // conjunction result whose text is no whole number.
            for (const FlagStatement& st : list.statements) {
                if (st.marks)
                    run.TrackedFlag = st.markedFlag;
                if (st.use == FlagUse::Problem || st.whole)
                    writeSentence(ctx, list, st);
            }
            step([&] { StepProgress(ctx.host); });
        }
    }
    write(ctx, "\n");
    step([&] { AppendClosing(ctx.text); });
}

} // namespace orv
