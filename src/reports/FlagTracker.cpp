#include "reports/FlagTracker.h"

#include "reports/FlagStatements.h"
#include "reports/Phrasing.h"
#include "reports/RecordStatements.h"
#include "reports/ReportContext.h"
#include "reports/StatementMode.h"
#include "reports/TextConventions.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <sys/mman.h>
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
template <typename Step> void step(Step&& body) {
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

// Where the sections' chunks come from. Small projects map each chunk on
// its own and give it back as soon as its section is written; large ones
// carve chunks out of large regions of large pages, since touching each
// small page of 175 MB of sections costs more than writing them.
class ChunkPool {
  public:
    static constexpr std::size_t ChunkSize = std::size_t{128} << 10;

    explicit ChunkPool(bool large) : large_(large) {}
    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;
    ~ChunkPool() {
        for (const Region& region : regions_)
            ::munmap(region.data, RegionSize);
    }

    char* take() {
        if (!large_)
            return map(ChunkSize);
        if (regions_.empty() || regions_.back().used == RegionSize) {
            regions_.push_back({map(RegionSize), 0});
            ::madvise(regions_.back().data, RegionSize, MADV_HUGEPAGE);
        }
        Region& region = regions_.back();
        char* chunk = region.data + region.used;
        region.used += ChunkSize;
        return chunk;
    }
    void giveBack(char* chunk) {
        if (!large_)
            ::munmap(chunk, ChunkSize);
    }

  private:
    static constexpr std::size_t RegionSize = std::size_t{64} << 20;
    struct Region {
        char* data;
        std::size_t used;
    };
    static char* map(std::size_t size) {
        void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (data == MAP_FAILED)
            throw std::bad_alloc();
        return static_cast<char*>(data);
    }

    bool large_;
    std::vector<Region> regions_;
};

// One section's body while the project is read, in chunks, so that growing
// never copies. The largest project's sections come to as much as the report
// itself.
class SectionText {
  public:
    explicit SectionText(ChunkPool& pool) : pool_(&pool) {}
    SectionText(SectionText&& other) noexcept
        : pool_(other.pool_), chunks_(std::move(other.chunks_)), used_(other.used_), size_(other.size_) {
        other.chunks_.clear();
        other.size_ = 0;
    }
    SectionText(const SectionText&) = delete;
    SectionText& operator=(const SectionText&) = delete;
    ~SectionText() { release(); }

    void append(std::string_view piece) {
        while (!piece.empty()) {
            if (chunks_.empty() || used_ == ChunkPool::ChunkSize) {
                chunks_.push_back(pool_->take());
                used_ = 0;
            }
            const std::size_t n = std::min(piece.size(), ChunkPool::ChunkSize - used_);
            std::memcpy(chunks_.back() + used_, piece.data(), n);
            used_ += n;
            size_ += n;
            piece.remove_prefix(n);
        }
    }
    std::size_t size() const { return size_; }

    // Appends the section to the report and gives its memory back.
    void moveInto(ReportText& text) {
        for (std::size_t i = 0; i < chunks_.size(); ++i)
            text.append(std::string_view(chunks_[i], i + 1 == chunks_.size() ? used_ : ChunkPool::ChunkSize));
        release();
    }

  private:
    void release() {
        for (char* chunk : chunks_)
            pool_->giveBack(chunk);
        chunks_.clear();
        size_ = 0;
    }

    ChunkPool* pool_;
    std::vector<char*> chunks_;
    std::size_t used_ = 0; // in the last chunk
    std::size_t size_ = 0;
};

// The statements a flag-ordered run writes: those about a flag of its range
// (a conjunction result only when its text is that whole number), and the
// problem lines, which every section repeats. The score line is written
// before the sections.
bool inSections(const FlagStatement& s, int first, int last) {
    if (s.place == StatementPlace::PlayerSettings)
        return false;
    return s.use == FlagUse::Problem || (s.whole && s.flag >= first && s.flag <= last);
}

// Reads the project once and sorts what it says into the sections of flags
// first to last, stepping the progress bar per scene, cue card and item.
std::vector<SectionText> gatherSections(ReportContext& ctx, ChunkPool& pool, int first, int last) {
    std::vector<SectionText> sections;
    sections.reserve(static_cast<std::size_t>(last - first + 1));
    for (int f = first; f <= last; ++f)
        sections.emplace_back(pool);
    GatherOptions options;
    options.keep = [first, last](const FlagStatement& s) { return inSections(s, first, last); };
    FlagStatementList list;
    step([&] {
        GatherFlagStatements(ctx, list, options, [&](FlagStatementList& unit) {
            for (const FlagStatement& s : unit.statements) {
                const std::string_view sentence = unit.sentence(s);
                if (s.use == FlagUse::Problem) {
                    for (SectionText& section : sections) {
                        section.append("\n");
                        section.append(sentence);
                    }
                } else {
                    SectionText& section = sections[static_cast<std::size_t>(s.flag - first)];
                    section.append("\n");
                    section.append(sentence);
                }
            }
            unit.clear();
            StepProgress(ctx.host);
        });
    });
    if (list.scenesRead > 0)
        ctx.run.CurrentObject = 20;
    return sections;
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

    // Above a few thousand scenes the sections run to many megabytes.
    ChunkPool pool(project.SceneCount >= 4096);
    std::vector<SectionText> sections;
    for (int f = first; f <= last; ++f) {
        if (run.CancelRequested)
            return;
        run.TrackedFlag = static_cast<Integer>(f);
        std::string heading = "\n>>>>>> FLAG #";
        AppendSigned(heading, f);
        heading += " <<<<<<";
        write(ctx, heading);
        if (f == first) {
            sections = gatherSections(ctx, pool, first, last);
            std::size_t bytes = SeparatorLine.size() + 2;
            for (const SectionText& section : sections)
                bytes += section.size() + heading.size() + 4;
            step([&] { ctx.text.reserveMore(bytes); });
        } else {
            StepProgressBy(ctx.host, units);
        }
        if (!sections.empty())
            step([&] { sections[static_cast<std::size_t>(f - first)].moveInto(ctx.text); });
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
        const std::size_t opening = ctx.text.str().size();
        for (int s = first; s <= last; ++s) {
            if (run.CancelRequested)
                return;
            // After a few scenes their average tells how large the report
            // grows: room for all of it at once spares copying it as it grows.
            if (s == first + 64)
                step([&] {
                    const std::size_t perScene = (ctx.text.str().size() - opening) / 64;
                    ctx.text.reserveMore(perScene * static_cast<std::size_t>(last - s + 1) * 9 / 8 + 4096);
                });
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
