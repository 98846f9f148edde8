#include "reports/FlagSections.h"

#include "reports/ReportHost.h"
#include "reports/RunState.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <sys/mman.h>

namespace orv {

namespace {

constexpr std::size_t RegionSize = std::size_t{64} << 20;

char* mapMemory(std::size_t size) {
    void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<char*>(data);
}

} // namespace

ChunkPool::~ChunkPool() {
    for (const Region& region : regions_)
        ::munmap(region.data, RegionSize);
}

char* ChunkPool::take() {
    if (!large_)
        return mapMemory(ChunkSize);
    if (regions_.empty() || regions_.back().used == RegionSize) {
        regions_.push_back({mapMemory(RegionSize), 0});
        ::madvise(regions_.back().data, RegionSize, MADV_HUGEPAGE);
    }
    Region& region = regions_.back();
    char* chunk = region.data + region.used;
    region.used += ChunkSize;
    return chunk;
}

void ChunkPool::giveBack(char* chunk) {
    if (!large_)
        ::munmap(chunk, ChunkSize);
}

SectionText::SectionText(SectionText&& other) noexcept
    : pool_(other.pool_), chunks_(std::move(other.chunks_)), size_(other.size_) {
    other.chunks_.clear();
    other.size_ = 0;
}

std::size_t SectionText::append(std::string_view piece) {
    if (piece.size() > ChunkPool::ChunkSize)
        throw std::length_error("a piece of a section is longer than a chunk");
    if (chunks_.empty() || chunks_.back().used + piece.size() > ChunkPool::ChunkSize)
        chunks_.push_back({pool_->take(), 0});
    Chunk& chunk = chunks_.back();
    const std::size_t start = (chunks_.size() - 1) * ChunkPool::ChunkSize + chunk.used;
    std::memcpy(chunk.data + chunk.used, piece.data(), piece.size());
    chunk.used += piece.size();
    size_ += piece.size();
    return start;
}

std::string_view SectionText::at(std::size_t start, std::size_t length) const {
    return {chunks_[start / ChunkPool::ChunkSize].data + start % ChunkPool::ChunkSize, length};
}

void SectionText::forEachPiece(const std::function<void(std::string_view)>& write) const {
    for (const Chunk& chunk : chunks_)
        write(std::string_view(chunk.data, chunk.used));
}

void SectionText::release() {
    for (const Chunk& chunk : chunks_)
        pool_->giveBack(chunk.data);
    chunks_.clear();
    size_ = 0;
}

namespace {

// The statements a flag-ordered run writes: those about a flag of its range
// (a conjunction result only when its text is that whole number), and the
// problem lines, which every section repeats.
bool inSections(const FlagStatement& s, int first, int last) {
    if (s.place == StatementPlace::PlayerSettings)
        return false;
    return s.use == FlagUse::Problem || (s.whole && s.flag >= first && s.flag <= last);
}

void addLine(FlagSection& section, const FlagStatementList& unit, const FlagStatement& s, bool keep) {
    // A chunk is cut short rather than a line split, so the line feed and the
    // sentence go in as one piece.
    const std::string_view sentence = unit.sentence(s);
    std::string line;
    line.reserve(sentence.size() + 1);
    line.push_back('\n');
    line.append(sentence);
    const std::size_t start = section.text.append(line);
    if (keep) {
        FlagStatement& kept = section.statements.emplace_back(s);
        kept.sentenceOffset = static_cast<std::uint32_t>(start + 1);
    }
}

} // namespace

void GatherFlagSections(ProjectSource source, FlagSections& into, int first, int last, bool keepStatements,
                        const std::function<void()>& unitDone) {
    into.sections.clear();
    into.sections.reserve(static_cast<std::size_t>(last - first + 1));
    for (int f = first; f <= last; ++f)
        into.sections.push_back(FlagSection{f, SectionText(*into.pool), {}});
    GatherOptions options;
    options.keep = [first, last](const FlagStatement& s) { return inSections(s, first, last); };
    FlagStatementList list;
    FlagStatementGatherer gatherer(source);
    auto sortUnit = [&] {
        for (const FlagStatement& s : list.statements) {
            if (s.use == FlagUse::Problem)
                for (FlagSection& section : into.sections)
                    addLine(section, list, s, keepStatements);
            else
                addLine(into.sections[static_cast<std::size_t>(s.flag - first)], list, s, keepStatements);
        }
        list.clear();
        if (unitDone)
            unitDone();
    };
    const LoadedProject& project = source.project;
    for (int s = 1; s <= project.SceneCount; ++s) {
        gatherer.GatherScene(static_cast<Integer>(s), list, options);
        sortUnit();
    }
    for (int c = 1; c <= project.CueCardCount; ++c) {
        gatherer.GatherCueCard(static_cast<Integer>(c), list, options);
        sortUnit();
    }
    for (int i = 1; i <= project.InventoryItemCount; ++i) {
        gatherer.GatherInventoryItem(static_cast<Integer>(i), list, options);
        sortUnit();
    }
    into.scenesRead = list.scenesRead;
    (void)source.completeScenes(); // a scene that cannot be read is left out, as above
}

std::optional<FlagStatementList> TrackedScoreStatement(ProjectSource source, std::optional<Integer> trackedFlag) {
    FlagStatementList list;
    FlagStatementGatherer gatherer(source);
    GatherOptions options;
    options.keep = [trackedFlag](const FlagStatement& s) { return !trackedFlag || s.flag == *trackedFlag; };
    gatherer.GatherPlayerSettings(list, options);
    if (list.statements.empty())
        return std::nullopt;
    return list;
}

TrackedFlagStatements GatherTrackedFlag(ProjectSource source, Integer flag, ReportHost& host) {
    const LoadedProject& p = source.project;
    const int first = flag == AllSelector ? 1 : flag;
    const int last = flag == AllSelector ? 255 : flag;
    host.setProgressMaximum(p.SceneCount + p.CueCardCount + p.InventoryItemCount + 5);
    host.setProgressValue(0);
    TrackedFlagStatements tracked{TrackedScoreStatement(source, flag), FlagSections(p.SceneCount >= 4096)};
    for (int i = 0; i < 5; ++i)
        StepProgress(host);
    GatherFlagSections(source, tracked.sections, first, last, true, [&] { StepProgress(host); });
    return tracked;
}

void ForEachTrackedScene(ProjectSource source, Integer scene, ReportHost& host,
                         const std::function<void(int, const FlagStatementList&)>& visit) {
    const int first = scene == AllSelector ? 1 : scene;
    const int last = scene == AllSelector ? source.project.SceneCount : scene;
    host.setProgressMaximum(last - first + 1 + 5);
    host.setProgressValue(0);
    for (int i = 0; i < 5; ++i)
        StepProgress(host);
    FlagStatementGatherer gatherer(source);
    FlagStatementList list;
    for (int s = first; s <= last; ++s) {
        list.clear();
        GatherSceneStatements(gatherer, static_cast<Integer>(s), list);
        visit(s, list);
        StepProgress(host);
    }
}

bool GatherSceneStatements(FlagStatementGatherer& gatherer, Integer scene, FlagStatementList& list) {
    GatherOptions options;
    options.keep = [](const FlagStatement& s) { return s.use == FlagUse::Problem || s.whole; };
    return gatherer.GatherScene(scene, list, options);
}

} // namespace orv
