// One test for each defect found by running damaged and hostile projects through every command: each
// failed before the fix.

#include "CliRun.h"

#include "cli/FdStreamBuf.h"
#include "data/LoadProject.h"
#include "support/FileBytes.h"
#include "support/HostileNames.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using Args = std::vector<std::string>;

const std::string Security = "There was a project security failure.";

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

TEST(Defect1, ADanglingLinkInPlaceOfADataFileIsRefusedAndCreatesNothing) {
    for (int n = 1; n <= 5; ++n) {
        ProjectBuilder b = sampleBuilder();
        b.omitDataFile = {n};
        Project p(b);
        const fs::path target = p.outside / "created-by-the-scanner.dat";
        fs::create_symlink(target, p.resource(dataFileName(n)));
        const CliResult r = runScan({"info", p.file});
        EXPECT_EQ(r.status, 3) << n;
        EXPECT_THAT(r.err, AllOf(HasSubstr(p.resource(dataFileName(n)).string() + ": refused to follow the link"),
                                 HasSubstr(target.string() + ", which does not exist")))
            << n;
        EXPECT_FALSE(fs::exists(target)) << n;
    }
    // A link to an existing ordinary file is read through.
    ProjectBuilder b = sampleBuilder();
    Project p(b);
    fs::rename(p.resource("Orvanta3.dat"), p.outside / "items.dat");
    fs::create_symlink(p.outside / "items.dat", p.resource("Orvanta3.dat"));
    EXPECT_EQ(runScan({"info", p.file}).status, 0);
}

TEST(Defect2, NamesFromDiskCannotForgeReportLinesNorDriveTheTerminal) {
    ProjectBuilder b = sampleBuilder();
    for (const HostileName& h : hostileNames())
        b.gfxFiles[h.name] = "x";
    Project p(b);
    const CliResult r = runScan({"files", p.file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(isValidUtf8(r.out));
    const std::string heading = "UNUSED FILES IN GFX FOLDER (" + std::to_string(hostileNames().size()) + ") **:";
    std::vector<std::string> shown = linesUnder(r.out, heading), expected;
    for (const HostileName& h : hostileNames())
        expected.push_back(h.shown);
    std::sort(shown.begin(), shown.end()), std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
    EXPECT_THAT(r.out, Not(HasSubstr("\nMISSING FILES FROM GFX FOLDER (99) *:")));

    // Project texts are written exactly to a pipe, and escaped on a terminal.
    b = sampleBuilder();
    b.scenes[1] = makeScene("L\x1B[2J\x1B]0;t\x07");
    Project q(b);
    const CliResult piped = runScan({"scene-flags", q.file, "all"});
    EXPECT_THAT(piped.out, HasSubstr("(L\x1B[2J\x1B]0;t\x07)"));
    const CliResult terminal = runScan({"scene-flags", q.file, "all"}, true);
    EXPECT_THAT(terminal.out, HasSubstr("(L\\x1B[2J\\x1B]0;t\\x07)"));
    EXPECT_EQ(terminal.out.find('\x1B'), std::string::npos);
    EXPECT_EQ(terminal.out.find('\x07'), std::string::npos);
}

TEST(Defect3, AFailedWriteToStandardOutputExitsWithFourAndTheReason) {
    Project p;
    for (const auto& [device, reason] : {std::pair{"/dev/full", "No space left on device"}}) {
        const int fd = ::open(device, O_WRONLY);
        ASSERT_GE(fd, 0);
        int status = 0;
        std::ostringstream err;
        {
            FdStreamBuf buffer(fd, 16); // small, so that writes fail before the final flush, too
            std::ostream out(&buffer);
            status = runCli({"files", p.file}, {out, err, false, false});
        }
        ::close(fd);
        EXPECT_EQ(status, 4) << device;
        EXPECT_EQ(err.str(), std::string("orvanta-scan: cannot write the report to standard output (") + reason +
                                 ")\n");
    }
    // The real program, on a full device and with standard output closed.
    const auto scan = [&](const std::string& redirect) {
        const int status = std::system(("'" ORVANTA_SCAN_BINARY "' files '" + p.file + "' " + redirect).c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(scan(">/dev/full 2>/dev/null"), 4);
    EXPECT_EQ(scan(">&- 2>/dev/null"), 4);
    EXPECT_EQ(scan(">/dev/null"), 0);
}

TEST(Defect4, AnOutputFileNeverOverwritesTheProject) {
    Project p;
    fs::create_hard_link(p.resource("Orvanta2.dat"), p.outside / "hard.dat");
    fs::create_symlink(p.resource("Orvanta4.dat"), p.outside / "soft.dat");
    fs::create_symlink(p.resource("new.txt"), p.outside / "dangling.txt");
    fs::create_symlink(p.folder / "resource", p.outside / "res");
    const TreeSnapshot before = snapshotTree(p.dir.path());
    for (const fs::path& output :
         {p.resource("Orvanta1.dat"), p.folder / "game.orv", p.outside / "hard.dat", p.outside / "soft.dat",
          p.resource("new.txt"), p.resource("gfx") / "report.rtf", p.outside / "dangling.txt",
          p.outside / "res" / "report.txt", p.resource("gfx") / ".." / "x.txt"}) {
        const CliResult r = runScan({"files", p.file, "-o", output.string()});
        EXPECT_EQ(r.status, 2) << output;
        EXPECT_THAT(r.err, HasSubstr("will not write the report to " + output.string() + ": ")) << output;
    }
    EXPECT_EQ(snapshotTree(p.dir.path()), before);
    EXPECT_EQ(runScan({"files", p.file, "-o", (p.folder / "report.txt").string()}).status, 0);
}

TEST(Defect5, DotDotAfterALinkClimbsOutOfTheFolderTheLinkNames) {
    TempDir dir;
    ProjectBuilder a = sampleBuilder(), other = sampleBuilder();
    a.settings.ProjectName = "Through the link";
    other.settings.ProjectName = "Beside the link";
    a.write(dir / "a");
    other.write(dir / "b");
    fs::create_directories(dir / "a" / "inner");
    fs::create_symlink(dir / "a" / "inner", dir / "b" / "l");
    const CliResult r = runScan({"info", (dir / "b" / "l" / ".." / "game.orv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, AllOf(HasSubstr("Project Location: " + (dir / "a" / "game.orv").string() + "\n"),
                             HasSubstr("Project Name: Through the link\n")));
}

TEST(Defect6, AMediaFolderThatCannotBeListedIsNeverSilent) {
    for (const auto& [how, reason] : {std::pair{"a file", "Not a directory"},
                                      std::pair{"a link loop", "Too many levels of symbolic links"}}) {
        ProjectBuilder b = sampleBuilder();
        b.writeGfxFolder = false;
        Project p(b);
        if (std::string(how) == "a file")
            writeFileText(p.resource("gfx"), "not a folder");
        else
            fs::create_symlink("gfx", p.resource("gfx"));
        const CliResult r = runScan({"files", p.file, "--fail-on-missing"});
        EXPECT_EQ(r.status, 5) << how; // not 1, although gone.bmp is reported missing
        EXPECT_THAT(r.out, HasSubstr("\nMISSING FILES FROM GFX FOLDER (1) *:\ngone.bmp\n")) << how;
        EXPECT_EQ(r.err, "orvanta-scan: " + p.resource("gfx").string() + ": cannot list the folder (" + reason +
                             "); its files are left out of the report\n")
            << how;
    }
    ProjectBuilder b = sampleBuilder(); // an absent folder counts as empty, silently
    b.writeGfxFolder = false;
    Project p(b);
    EXPECT_EQ(runScan({"files", p.file}).status, 0);
}

// Climbs into a chain of folders whose absolute path is longer than the system takes in one call, and
// back out, removing it (std::filesystem cannot reach that deep).
class DeepFolder {
  public:
    DeepFolder(const fs::path& base, int levels) : levels_(levels) {
        home_ = ::open(".", O_PATH | O_DIRECTORY);
        EXPECT_EQ(::chdir(base.c_str()), 0);
        const std::string name(250, 'd');
        for (int i = 0; i < levels_; ++i)
            if (::mkdir(name.c_str(), 0755) != 0 || ::chdir(name.c_str()) != 0)
                ADD_FAILURE() << "level " << i;
    }
    ~DeepFolder() {
        std::error_code ignored;
        fs::remove_all("p", ignored); // relative: short enough
        for (int i = 0; i < levels_; ++i) {
            if (::chdir("..") == 0)
                ::rmdir(std::string(250, 'd').c_str());
        }
        ::fchdir(home_);
        ::close(home_);
    }

  private:
    int levels_;
    int home_;
};

TEST(Defect7, AProjectDeeperThanTheSystemsPathLimitLoadsThroughAShortRelativePath) {
    TempDir dir;
    DeepFolder deep(dir.path(), 20); // 20 x 251 characters
    ProjectBuilder b = sampleBuilder();
    b.gfxFiles["unused.bmp"] = "12345";
    b.write("p");
    const CliResult info = runScan({"info", "p/game.orv"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_THAT(info.out, HasSubstr("Scenes Count: 2\n"));
    const CliResult files = runScan({"files", "p/game.orv"});
    EXPECT_EQ(files.status, 0) << files.err;
    EXPECT_THAT(files.out, HasSubstr("\nUNUSED FILES IN GFX FOLDER (1) **:\nunused.bmp\n"));
}

TEST(Defect8, MessagesNameTheFileAndTheSystemsReason) {
    {
        Project p;
        fs::remove(p.resource("Orvanta2.dat"));
        fs::create_directory(p.resource("Orvanta2.dat"));
        const CliResult r = runScan({"info", p.file});
        EXPECT_EQ(r.status, 3);
        EXPECT_EQ(r.err, "orvanta-scan: " + p.resource("Orvanta2.dat").string() + ": is a folder, not a data file\n");
        ProjectState state; // the desktop's error box names the file and the reason too
        ChooseProjectFile(state, p.file);
        EXPECT_THAT(LoadProject(state, noEventLoop()).unexpectedError.value_or(""),
                    HasSubstr(p.resource("Orvanta2.dat").string() + ": is a folder, not a data file"));
    }
    {
        Project p;
        fs::remove_all(p.folder / "resource");
        const CliResult r = runScan({"info", p.file});
        EXPECT_EQ(r.err, "orvanta-scan: " + (p.folder / "resource").string() +
                             ": the project has no resource folder (No such file or directory)\n");
    }
    {
        ProjectBuilder b = sampleBuilder();
        b.rawDataFile[3] = b.dataFileBytes(3);
        poke(b.rawDataFile[3], 207, {78, 0});
        Project p(b);
        const CliResult r = runScan({"info", p.file});
        EXPECT_EQ(r.status, 3);
        EXPECT_THAT(r.err, AllOf(HasSubstr(Security), HasSubstr("The project lock of " +
                                                                p.resource("Orvanta3.dat").string() +
                                                                " is 78; the project file's is 77.\n")));
        EXPECT_THAT(r.err, Not(HasSubstr("ProjLockMatch")));
    }
    {
        Project p;
        const CliResult r = runScan({"unused-flags", p.file, "-o", (p.outside / "no" / "r.txt").string()});
        EXPECT_EQ(r.status, 4);
        EXPECT_EQ(r.err, "orvanta-scan: could not write the report to " + (p.outside / "no" / "r.txt").string() +
                             " (No such file or directory)\n");
    }
    {
        ProjectBuilder b = sampleBuilder();
        b.projectFileName = "-o.orv";
        Project p(b);
        const fs::path cwd = fs::current_path();
        fs::current_path(p.folder);
        const CliResult r = runScan({"info", "--", "-o.orv"});
        fs::current_path(cwd);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_THAT(r.out, HasSubstr("/-o.orv\n"));
    }
    if (::geteuid() == 0)
        GTEST_SKIP() << "an unreadable data file needs a test run by someone other than root";
    Project p;
    ::chmod(p.resource("Orvanta5.dat").c_str(), 0);
    const CliResult r = runScan({"info", p.file});
    EXPECT_EQ(r.err, "orvanta-scan: " + p.resource("Orvanta5.dat").string() + ": cannot open (Permission denied)\n");
}

} // namespace
} // namespace orv::testing
