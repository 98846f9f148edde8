// One test for each defect found by running damaged and hostile projects through every command that the
// damaged-project matrix does not show: each failed before its fix.

#include "audit/FilesAudit.h"
#include "cli/FdStreamBuf.h"
#include "cli/TerminalText.h"
#include "data/LoadProject.h"
#include "findings/Findings.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/Scan.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Lock 77, two scenes, one location, one item, one cue card; scene 1 names the absent gone.bmp.
ProjectBuilder sampleBuilder() {
    ProjectBuilder b;
    b.lock = 77;
    b.settings.ProjectName = "Keeper";
    b.scenes = {makeScene("Quay"), makeScene("Lamp Room")};
    b.scenes[0].SceneFile[0] = "gone.bmp";
    b.locations.resize(1), b.items.resize(1), b.cueCards.resize(1);
    return b;
}

struct Project {
    TempDir dir;
    fs::path folder = dir / "p";
    fs::path outside = dir / "outside";
    std::string file;
    explicit Project(const ProjectBuilder& b = sampleBuilder()) {
        fs::create_directories(outside);
        file = b.write(folder).string();
    }
    fs::path resource(const std::string& name) const { return folder / "resource" / name; }
};

TEST(Defects, ProjectTextsAreWrittenExactlyToAPipeAndEscapedOnATerminal) {
    ProjectBuilder b = sampleBuilder();
    b.scenes[1] = makeScene("L\x1B[2J\x1B]0;t\x07");
    Project p(b);
    EXPECT_THAT(runScan({"scene-flags", p.file, "all"}).out, HasSubstr("(L\x1B[2J\x1B]0;t\x07)"));
    const ScanResult terminal = runScan({"scene-flags", p.file, "all"}, true);
    EXPECT_THAT(terminal.out, HasSubstr("(L\\x1B[2J\\x1B]0;t\\x07)"));
    EXPECT_EQ(terminal.out.find_first_of("\x1B\x07"), std::string::npos);
    for (const auto& [text, safe] : {std::pair<std::string, std::string>{"a\tb\nc", "a\tb\nc"},
                                     {"cr\r", "cr\\x0D"}, {std::string("nul\0", 4), "nul\\x00"}, {"\x7F", "\\x7F"},
                                     {"\xC2\x9B"
                                      "2J",
                                      "\\xC2\\x9B2J"},
                                     {"\xC2\xA0 caf\xC3\xA9 \xE2\x82\xAC", "\xC2\xA0 caf\xC3\xA9 \xE2\x82\xAC"},
                                     {"\xFF\xE2\x82", "\\xFF\\xE2\\x82"}})
        EXPECT_EQ(TerminalSafe(text), safe) << text;
}

TEST(Defects, AFailedWriteToStandardOutputGivesTheSystemsReason) {
    Project p;
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    int status = 0;
    std::ostringstream err;
    {
        FdStreamBuf buffer(fd, 16); // small, so that writes fail before the final flush, too
        std::ostream out(&buffer);
        status = runCli({"files", p.file}, {out, err, false, false});
    }
    ::close(fd);
    EXPECT_EQ(std::tuple(status, err.str()),
              std::tuple(4, "orvanta-scan: cannot write the report to standard output (No space left on device)\n"));
}

TEST(Defects, AnOutputFileNeverOverwritesTheProject) {
    Project p;
    fs::create_hard_link(p.resource("Orvanta2.dat"), p.outside / "hard.dat");
    fs::create_symlink(p.resource("Orvanta4.dat"), p.outside / "soft.dat");
    fs::create_symlink(p.resource("new.txt"), p.outside / "dangling.txt");
    fs::create_symlink(p.folder / "resource", p.outside / "res");
    const TreeSnapshot before = snapshotTree(p.dir.path());
    for (const fs::path& output :
         {p.resource("Orvanta1.dat"), p.folder / "game.orv", p.outside / "hard.dat", p.outside / "soft.dat",
          p.resource("new.txt"), p.resource("gfx") / "report.rtf", p.outside / "dangling.txt",
          p.outside / "res" / "report.txt", p.resource("gfx") / ".." / "x.txt"})
        for (const std::string format : {"text", "json"}) {
            if (format == "json" && output.extension() == ".rtf")
                continue; // refused as RTF first
            const ScanResult r = runScan({"files", p.file, "--format", format, "-o", output.string()});
            EXPECT_EQ(r.status, 2) << output;
            EXPECT_THAT(r.err, HasSubstr("will not write to " + output.string() + ": ")) << output;
        }
    EXPECT_EQ(snapshotTree(p.dir.path()), before);
    EXPECT_EQ(runScan({"files", p.file, "-o", (p.folder / "report.txt").string()}).status, 0);
}

TEST(Defects, DotDotAfterALinkClimbsOutOfTheFolderTheLinkNames) {
    TempDir dir;
    ProjectBuilder a = sampleBuilder(), other = sampleBuilder();
    a.settings.ProjectName = "Through the link";
    other.settings.ProjectName = "Beside the link";
    a.write(dir / "a");
    other.write(dir / "b");
    fs::create_directories(dir / "a" / "inner");
    fs::create_symlink(dir / "a" / "inner", dir / "b" / "l");
    const ScanResult r = runScan({"info", (dir / "b" / "l" / ".." / "game.orv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Project Location: " + (dir / "a" / "game.orv").string() + "\n"));
    EXPECT_THAT(r.out, HasSubstr("Project Name: Through the link\n"));
}

// Climbs into a chain of folders whose absolute path is longer than the system takes in one call, and
// back out, removing it (std::filesystem cannot reach that deep).
class DeepFolder {
  public:
    DeepFolder(const fs::path& base, int levels) : levels_(levels) {
        EXPECT_EQ(::chdir(base.c_str()), 0);
        for (int i = 0; i < levels_; ++i)
            if (::mkdir(name_.c_str(), 0755) != 0 || ::chdir(name_.c_str()) != 0)
                ADD_FAILURE() << "level " << i;
    }
    ~DeepFolder() {
        std::error_code ignored;
        fs::remove_all("p", ignored); // relative: short enough
        for (int i = 0; i < levels_; ++i)
            if (::chdir("..") == 0)
                ::rmdir(name_.c_str());
        EXPECT_EQ(::fchdir(home_), 0) << "back to the folder the test began in";
        ::close(home_);
    }

  private:
    int levels_;
    int home_ = ::open(".", O_PATH | O_DIRECTORY);
    std::string name_ = std::string(250, 'd');
};

TEST(Defects, AProjectDeeperThanTheSystemsPathLimitLoadsThroughAShortRelativePath) {
    TempDir dir;
    DeepFolder deep(dir.path(), 20); // 20 x 251 characters
    ProjectBuilder b = sampleBuilder();
    b.gfxFiles["unused.bmp"] = "12345";
    b.write("p");
    const ScanResult info = runScan({"info", "p/game.orv"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_THAT(info.out, HasSubstr("Scenes Count: 2\n"));
    const ScanResult files = runScan({"files", "p/game.orv"});
    EXPECT_EQ(files.status, 0) << files.err;
    EXPECT_THAT(files.out, HasSubstr("\nUNUSED FILES IN GFX FOLDER (1) **:\nunused.bmp\n"));
}

TEST(Defects, ALockMismatchNamesTheFileAndBothLocks) {
    ProjectBuilder b = sampleBuilder();
    b.rawDataFile[3] = b.dataFileBytes(3);
    poke(b.rawDataFile[3], 207, {78, 0});
    Project p(b);
    const ScanResult r = runScan({"info", p.file});
    EXPECT_EQ(r.status, 3);
    EXPECT_THAT(r.err, HasSubstr("There was a project security failure."));
    EXPECT_THAT(r.err, HasSubstr("\nThe project lock of " + p.resource("Orvanta3.dat").string() +
                                 " is 78; the project file's is 77.\n"));
}

// What was loaded is what is reported: once the lock check has opened the data files, a report reads those
// very files, whatever becomes of the folder meanwhile, and creates nothing.
TEST(Defects, AReportReadsTheFilesTheLockCheckOpened) {
    ProjectBuilder b = sampleBuilder();
    b.scenes[0].OnLoadFlagEnabled = 1;
    b.scenes[0].OnLoadFlag = 17;
    ProjectBuilder other = sampleBuilder();
    other.lock = 5;
    other.scenes[0].OnLoadFlagEnabled = 1;
    other.scenes[0].OnLoadFlag = 33;
    for (const bool swap : {true, false}) {
        Project p(b);
        const std::string otherProject = other.write(p.outside).string();
        Result<OpenProject> open = LoadProject(ProjectPaths::fromProjectFile(p.file), noEventLoop());
        ASSERT_TRUE(open);
        fs::remove_all(p.folder / "resource");
        if (swap) // another project's data in its place
            fs::rename(p.outside / "resource", p.folder / "resource");
        const TreeSnapshot before = snapshotTree(p.dir.path());
        RunState state;
        state.TrackedFlag = AllSelector;
        ReportText text;
        ReportHost host;
        ReportContext ctx(open->project, state, text, host);
        ctx.files = &open->files;
        RunReport(FlagsByFlagKind, ctx);
        EXPECT_THAT(text.str(), HasSubstr("\n>>>>>> FLAG # 17 <<<<<<\n(Scene # 1 (Quay)) When this scene is loaded"));
        EXPECT_THAT(text.str(), ::testing::Not(HasSubstr("flag # 33 to")));
        const ProjectCheck check({open->project, open->files}, host);
        EXPECT_EQ(check.counts()[indexOf(FindingClass::UnusedFlags)], 254u) << "flag 17 in use, 33 not";
        EXPECT_EQ(snapshotTree(p.dir.path()), before) << "nothing created";
    }
}

} // namespace
} // namespace orv::testing
