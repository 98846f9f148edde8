#pragma once

#include "data/LoadProject.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>
#include <unistd.h>

namespace orv::testing {
namespace fs = std::filesystem;

// A report host with a fixed date that answers the incomplete-report question as scripted. It presses
// the picker's Cancel button during the first yield at which the bar shows at least cancelAtProgress,
// and from its first yield on makes every read through an open handle on breakFile fail, as on a damaged
// disk.
class FakeReportHost : public ReportHost {
  public:
    explicit FakeReportHost(RunState& run) : run_(run) {}
    std::optional<int> cancelAtProgress;
    fs::path breakFile;
    bool broken = false;
    std::function<void()> onYield; // runs at every yield
    bool answerViewIncomplete = true;
    int questionsAsked = 0;
    std::vector<bool> busy;

    void yield() override {
        if (cancelAtProgress && progressValue() >= *cancelAtProgress)
            run_.CancelRequested = true;
        if (onYield)
            onYield();
        if (breakFile.empty() || broken)
            return;
        for (const auto& fd : fs::directory_iterator("/proc/self/fd")) { // point it at a folder
            std::error_code ec;
            if (fs::read_symlink(fd.path(), ec) != fs::canonical(breakFile))
                continue;
            const int folder = ::open(breakFile.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
            broken = ::dup2(folder, std::stoi(fd.path().filename().string())) >= 0 || broken;
            ::close(folder);
        }
    }
    bool askViewIncompleteReport() override {
        ++questionsAsked;
        return answerViewIncomplete;
    }
    std::string today() const override { return "07-04-2026"; }
    void setBusy(bool on) override { busy.push_back(on); }

  private:
    RunState& run_;
};

// A project made with the builder and loaded with its files left open, as the command line loads it, and
// the run state a report works on.
class ReportFixture : public ::testing::Test {
  protected:
    TempDir dir;
    ProjectBuilder builder;
    std::optional<OpenProject> open;
    RunState state;
    ReportText text;
    FakeReportHost host{state};
    std::optional<ReportContext> ctx;

    // Writes the builder's project (unless a project file is given) and loads it.
    void load(fs::path projectFile = {}) {
        if (projectFile.empty())
            projectFile = builder.write(dir.path());
        Result<OpenProject> loaded = LoadProject(ProjectPaths::fromProjectFile(projectFile), noEventLoop());
        ASSERT_TRUE(loaded) << describeFailure(loaded.failure());
        open.emplace(std::move(*loaded));
        ctx.emplace(open->project, state, text, host);
        ctx->files = &open->files;
    }
    ProjectSource source() const { return {open->project, open->files}; }
    const LoadedProject& project() const { return open->project; }
    std::string runReport(Integer kind) {
        RunReport(kind, *ctx);
        return text.str();
    }
    std::string header() const {
        return "*** Orvanta Project Report ***\nDate scanned: 07-04-2026\n\n" + ProjectInformation(open->project);
    }
};

// A report body kept in tests/expected; the file's final line feed is not part of it.
inline std::string expectedText(const std::string& name) {
    const auto bytes = readFileBytes(fs::path(ORVANTA_EXPECTED_DIR) / name);
    return std::string(bytes.begin(), bytes.end() - (bytes.empty() || bytes.back() != '\n' ? 0 : 1));
}

// An object slot of `type` with runs of Integer settings ({141, {a, b}} puts a at slot offset 141
// and b at 143) and the texts T1 to T3.
using Settings = std::vector<std::pair<std::size_t, std::vector<Integer>>>;
inline ObjectSlot objectOf(Integer type, const Settings& settings, const std::vector<std::string>& texts = {}) {
    ObjectSlot slot;
    slot.ObjectType = type;
    for (const auto& [start, values] : settings)
        for (std::size_t i = 0; i < values.size(); ++i)
            setSetting(slot, start + 2 * i, values[i]);
    std::ranges::copy(texts, slot.ObjectText.begin());
    return slot;
}

// A scene with its conditional load {enabled, flag, operator, value, scene} and its on-load flag
// change {enabled, flag, value, adds}.
inline SceneRecord sceneWith(std::string name, std::array<Integer, 5> load, std::array<Integer, 4> onLoad) {
    SceneRecord s = makeScene(std::move(name));
    std::tie(s.CondLoadEnabled, s.CondLoadFlag, s.CondLoadOperator, s.CondLoadValue, s.CondLoadScene,
             s.OnLoadFlagEnabled, s.OnLoadFlag, s.OnLoadValue, s.OnLoadAdds) = std::tuple_cat(load, onLoad);
    return s;
}

// The project of the expected texts tests/expected/tracker-*.txt. The score uses flag 12.
//  1 Hall:   if flag 12 = 1 load scene 2; on load add 5 to flag 12; an Ambient object in slot 3;
//  2 Cellar: if flag 12 > 4 load no scene; on-load off (2); a HotSpot in slot 1 visible on flag 12
//            with operator 7, setting flag 20 when clicked;
//  3 Attic:  if flag 20 < -1 load scene 9 (none such); on load set flag 20; types -2 and 10;
//  4 Roof:   both header statements off (0).
// Cue card 1: choice 2 sets flag 12 (ChoiceAdds 2 means set), choice 4 adds to it, the others are
// off. Item 1 adds to flag 40, item 2 sets flag 12, item 3 is off (2). Two locations.
// Switched off, the statements name flags 30 to 36.
inline void buildTrackerProject(ProjectBuilder& b) {
    b.settings.ScoreEnabled = 1;
    b.settings.ScoreFlag = 12;
    SceneRecord hall = sceneWith("Hall", {1, 12, 0, 1, 2}, {1, 12, 5, 2});
    hall.Slots[2] = objectOf(0, {{149, {2, 12, 1, 0, 1, 12, 5, 1}}});
    SceneRecord cellar = sceneWith("Cellar", {1, 12, 3, 4, 0}, {2, 30, 1, 0});
    cellar.Slots[0] = objectOf(1, {{167, {2, 12, 7, 9, 1, 20, 3, 0}}});
    SceneRecord attic = sceneWith("Attic", {1, 20, 2, -1, 9}, {1, 20, 3, 0});
    attic.Slots[4].ObjectType = -2;
    attic.Slots[19].ObjectType = 10;
    b.scenes = {hall, cellar, attic, sceneWith("Roof", {0, 31, 0, 0, 0}, {0, 32, 0, 0})};
    b.cueCards = {{0, {0, 1, 0, 1, 0}, {33, 12, 34, 12, 35}, {0, 1, 0, 3, 9}, {0, 2, 0, 1, 0}, {}}};
    b.items = {{{}, 1, 40, -2, 1, 0}, {{}, 1, 12, 7, 0, 0}, {{}, 2, 36, 5, 1, 0}};
    b.locations = {{"a.bmp", "", "", 0}, {"b.bmp", "", "", 0}};
}

} // namespace orv::testing
