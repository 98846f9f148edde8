#pragma once

#include "reports/FlagStatements.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace orv {

// Where the sections' text lives. Small projects map each chunk on its own
// and give it back as soon as its section is written; large ones carve chunks
// out of regions of large pages, since touching each small page of 175 MB
// of sections costs more than writing them.
class ChunkPool {
  public:
    static constexpr std::size_t ChunkSize = std::size_t{128} << 10;

    explicit ChunkPool(bool large) : large_(large) {}
    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;
    ~ChunkPool();

    char* take();
    void giveBack(char* chunk);

  private:
    struct Region {
        char* data;
        std::size_t used;
    };
    bool large_;
    std::vector<Region> regions_;
};

// The text of one section as it grows, in chunks, so that growing never
// copies. A piece is never split across chunks, so each piece stays one
// view (a piece longer than a chunk is refused: no sentence comes near).
class SectionText {
  public:
    explicit SectionText(ChunkPool& pool) : pool_(&pool) {}
    SectionText(SectionText&& other) noexcept;
    SectionText(const SectionText&) = delete;
    SectionText& operator=(const SectionText&) = delete;
    ~SectionText() { release(); }

    // Appends `piece`; gives where it starts, for at().
    std::size_t append(std::string_view piece);
    std::string_view at(std::size_t start, std::size_t length) const;
    std::size_t size() const { return size_; }
    // Each chunk's text in order.
    void forEachPiece(const std::function<void(std::string_view)>& write) const;
    // Gives its memory back; the text is empty afterwards.
    void release();

  private:
    struct Chunk {
        char* data;
        std::size_t used;
    };
    ChunkPool* pool_;
    std::vector<Chunk> chunks_;
    std::size_t size_ = 0;
};

// One flag's section of the flag-ordered tracker: each statement's line
// ("\n" and the sentence) in the order the project holds them, and, when
// the gathering keeps them, the statements themselves with their sentence's
// place in the text.
struct FlagSection {
    int flag = 0;
    SectionText text;
    std::vector<FlagStatement> statements;

    std::string_view sentence(const FlagStatement& s) const { return text.at(s.sentenceOffset, s.sentenceLength); }
};

// What the flag-ordered tracker writes for flags first to last, read in one
// pass: the statements about each flag (a conjunction result only when its
// text is that whole number), and the problem lines of unknown object
// types, which every section repeats. The score statement stands apart (see
// TrackedScoreStatement).
struct FlagSections {
    explicit FlagSections(bool large) : pool(std::make_unique<ChunkPool>(large)) {}
    std::unique_ptr<ChunkPool> pool;   // where the sections' text lives; it stays put when the sections move
    std::vector<FlagSection> sections; // flag first + i is sections[i]
    int scenesRead = 0;
};

// Reads every scene, cue card and item once and sorts their statements into
// sections; `unitDone` runs after each unit. `keepStatements` keeps the
// statements as well as their lines. A unit that cannot be read is left out.
void GatherFlagSections(ProjectSource source, FlagSections& into, int first, int last, bool keepStatements,
                        const std::function<void()>& unitDone);

// The score statement a tracker writes above its sections: the player
// settings' score flag when the score uses one and it is the tracked flag
// (any flag, for the scene-ordered tracker, which tracks every flag); none
// when the settings cannot be read.
std::optional<FlagStatementList> TrackedScoreStatement(ProjectSource source, std::optional<Integer> trackedFlag);

class ReportHost;

// What the flag-ordered tracker reports for `flag` (1 to 255, or all with
// AllSelector), statements kept, the progress bar stepped five times for
// the player settings and once per scene, cue card and item.
struct TrackedFlagStatements {
    std::optional<FlagStatementList> score;
    FlagSections sections;
};
TrackedFlagStatements GatherTrackedFlag(ProjectSource source, Integer flag, ReportHost& host);

// What the scene-ordered tracker reports for `scene` (a number, or all with
// AllSelector), handed to `visit` a scene at a time as each is read, the
// progress bar stepped as for the flags.
void ForEachTrackedScene(ProjectSource source, Integer scene, ReportHost& host,
                         const std::function<void(int, const FlagStatementList&)>& visit);

// The statements the scene-ordered tracker writes for one scene: every one
// but a conjunction result whose text is no whole number. False when the
// scene could not be read.
bool GatherSceneStatements(FlagStatementGatherer& gatherer, Integer scene, FlagStatementList& list);

} // namespace orv
