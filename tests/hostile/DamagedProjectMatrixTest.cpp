// Damaged and hostile projects through every command in every format: no crash, no hang, the defined
// outcome where there is one (the half rule, a missing file created empty, the security failure) and
// otherwise a message that names the file and the reason; valid UTF-8 text and valid JSON; the project
// folder unchanged to the byte apart from the empty data file loading may leave, and nothing created
// outside it.

#include "support/FileBytes.h"
#include "support/HostileNames.h"
#include "support/ProjectBuilder.h"
#include "support/Scan.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "writers/JsonOutput.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::size_t RecordLength[6] = {342, 4395, 112, 209, 908, 1712};

enum class Outcome {
    Loads,           // every command succeeds
    SecurityFailure, // the lock check fails: status 3 with the security message
    Fails,           // status 3, and the message names `named` and gives `reason`
    Incomplete,      // a media folder cannot be listed: files and check exit 5 naming it, the rest succeed
};

struct Layout {
    fs::path dir, project, outside;
    fs::path resource(const std::string& name) const { return project / "resource" / name; }
};

struct Case {
    std::string name;
    std::function<void(ProjectBuilder&)> build = [](ProjectBuilder&) {};
    std::function<void(const Layout&)> damage = [](const Layout&) {};
    Outcome outcome = Outcome::Loads;
    std::string named;          // relative to the project folder
    std::string reason;         // in the message
    std::string infoHas;        // in the panel, when the project loads
    std::optional<int> created; // the data file loading creates empty
    bool needsNonRoot = false;
};

ProjectBuilder baseProject() { // lock 77; two scenes, three locations, two items, three cue cards
    ProjectBuilder b;
    b.lock = 77;
    b.settings.ProjectName = "Matrix";
    b.scenes = {makeScene("Quay"), makeScene("Lamp Room")};
    b.scenes[0].SceneFile[0] = "gone.bmp";
    b.scenes[1].SceneFile[0] = "present.bmp";
    b.locations.resize(3), b.items.resize(2), b.cueCards.resize(3);
    b.gfxFiles = {{"present.bmp", "x"}, {"spare.gif", "12345"}};
    b.mmediaFiles = {{"tune.mid", "x"}};
    return b;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

Case mk(std::string name, std::function<void(ProjectBuilder&)> build, std::function<void(const Layout&)> damage,
        Outcome outcome, std::string named = "", std::string reason = "", std::string infoHas = "",
        std::optional<int> created = std::nullopt, bool needsNonRoot = false) {
    if (!build)
        build = [](ProjectBuilder&) {};
    if (!damage)
        damage = [](const Layout&) {};
    return Case{std::move(name),   std::move(build),   std::move(damage), outcome,     std::move(named),
                std::move(reason), std::move(infoHas), created,           needsNonRoot};
}

std::string dataFile(int n) {
    return "resource/" + dataFileName(n);
}

void resize(const fs::path& file, std::uintmax_t length) {
    fs::resize_file(file, length);
}

std::vector<Case> matrix() {
    std::vector<Case> cases;
    const std::string countLine[6] = {
        "", "Scenes Count: ", "Locations Count: ", "Inventory Items Count: ", "", "Cue Cards Count: "};
    for (int n = 1; n <= 5; ++n) {
        const std::string file = dataFile(n);
        const bool emptyMatches = n == 3 || n == 5; // an empty item or cue card file carries any lock
        const Outcome empty = emptyMatches ? Outcome::Loads : Outcome::SecurityFailure;
        cases.push_back(mk(
            file + " missing", [n](auto& b) { b.omitDataFile = {n}; }, {}, empty, file, "",
            emptyMatches ? countLine[n] + "0" : "", n));
        cases.push_back(mk(
            file + " empty", [n](auto& b) { b.rawDataFile[n] = {}; }, {}, empty, file, "",
            emptyMatches ? countLine[n] + "0" : ""));
        cases.push_back(mk(
            file + " one byte", [n](auto& b) { b.rawDataFile[n] = {0x01}; }, {}, Outcome::SecurityFailure));
        cases.push_back(mk(
            file + " a folder", {},
            [file](const Layout& l) { fs::remove(l.project / file), fs::create_directory(l.project / file); },
            Outcome::Fails, file, "is a folder, not a data file"));
        cases.push_back(mk(
            file + " a FIFO", {},
            [file](const Layout& l) { fs::remove(l.project / file), ::mkfifo((l.project / file).c_str(), 0644); },
            Outcome::Fails, file, "is not an ordinary file"));
        cases.push_back(mk(
            file + " a dangling link", {},
            [file](const Layout& l) {
                fs::remove(l.project / file), fs::create_symlink(l.outside / "made.dat", l.project / file);
            },
            Outcome::Fails, file, "refused to follow the link"));
        cases.push_back(mk(
            file + " a link to a device", {},
            [file](const Layout& l) {
                fs::remove(l.project / file), fs::create_symlink("/dev/zero", l.project / file);
            },
            Outcome::Fails, file, "/dev/zero, which is not an ordinary file"));
        cases.push_back(mk(
            file + " a link to a file outside", {},
            [file](const Layout& l) {
                fs::rename(l.project / file, l.outside / "moved.dat");
                fs::create_symlink(l.outside / "moved.dat", l.project / file);
            },
            Outcome::Loads));
        const std::size_t length = RecordLength[n];
        cases.push_back(mk(
            file + " over 32767 records", {},
            [file, length](const Layout& l) { resize(l.project / file, 32768 * length); },
            n == 4 ? Outcome::Loads : Outcome::Fails, file,
            "holds 32768 records of " + std::to_string(length) + " bytes"));
        cases.push_back(mk(
            file + " unreadable", {}, [file](const Layout& l) { ::chmod((l.project / file).c_str(), 0); },
            Outcome::Fails, file, "cannot open (Permission denied)", "", std::nullopt, true));
    }
    // Cut at odd offsets: the last record counts when at least half of it is there (half to even).
    const std::tuple<int, std::size_t, std::string> cuts[] = {
        {1, 4395 + 2197, "Scenes Count: 1\n"},  {1, 4395 + 2198, "Scenes Count: 2\n"},
        {2, 280, "Locations Count: 2\n"},       {2, 300, "Locations Count: 3\n"},
        {3, 313, "Inventory Items Count: 1\n"}, {3, 314, "Inventory Items Count: 2\n"},
        {5, 2568, "Cue Cards Count: 2\n"},      {5, 4280, "Cue Cards Count: 2\n"},
        {5, 4281, "Cue Cards Count: 3\n"}};
    for (const auto& [n, length, counted] : cuts)
        cases.push_back(mk(
            dataFile(n) + " cut to " + std::to_string(length) + " bytes", {},
            [n = n, length = length](const Layout& l) { resize(l.project / dataFile(n), length); }, Outcome::Loads, "",
            "", counted));

    cases.push_back(mk(
        "a .orv of 100 bytes", {}, [](const Layout& l) { resize(l.project / "game.orv", 100); },
        Outcome::SecurityFailure));
    cases.push_back(mk(
        "an empty .orv", {}, [](const Layout& l) { resize(l.project / "game.orv", 0); }, Outcome::SecurityFailure));
    cases.push_back(mk(
        "no resource folder", {}, [](const Layout& l) { fs::remove_all(l.project / "resource"); }, Outcome::Fails,
        "resource", "the project has no resource folder"));
    cases.push_back(mk(
        "resource a link out, a data file missing", {},
        [](const Layout& l) {
            fs::rename(l.project / "resource", l.outside / "resource");
            fs::remove(l.outside / "resource" / "Orvanta5.dat");
            fs::create_symlink(l.outside / "resource", l.project / "resource");
        },
        Outcome::Fails, "resource/Orvanta5.dat", "nothing is created through a link"));

    // Media folders.
    cases.push_back(mk(
        "gfx a loop of links", {},
        [](const Layout& l) { fs::remove_all(l.resource("gfx")), fs::create_symlink("gfx", l.resource("gfx")); },
        Outcome::Incomplete, "resource/gfx", "Too many levels of symbolic links"));
    cases.push_back(mk(
        "mmedia a file", {},
        [](const Layout& l) { fs::remove_all(l.resource("mmedia")), writeFileText(l.resource("mmedia"), "x"); },
        Outcome::Incomplete, "resource/mmedia", "Not a directory"));
    cases.push_back(mk(
        "gfx unreadable", {}, [](const Layout& l) { ::chmod(l.resource("gfx").c_str(), 0); }, Outcome::Incomplete,
        "resource/gfx", "Permission denied", "", std::nullopt, true));
    cases.push_back(mk(
        "gfx a dangling link", {},
        [](const Layout& l) {
            fs::remove_all(l.resource("gfx")), fs::create_symlink(l.outside / "none", l.resource("gfx"));
        },
        Outcome::Loads));
    cases.push_back(mk(
        "gfx entries: dangling link, FIFO, subfolder, loop, link out", {},
        [](const Layout& l) {
            const fs::path gfx = l.resource("gfx");
            fs::create_symlink(l.outside / "none.bmp", gfx / "gone.bmp");
            ::mkfifo((gfx / "pipe.bmp").c_str(), 0644);
            fs::create_directory(gfx / "sub.bmp");
            fs::create_symlink("loop.bmp", gfx / "loop.bmp");
            writeFileText(l.outside / "far.bmp", std::string(3000, 'x'));
            fs::create_symlink(l.outside / "far.bmp", gfx / "far.bmp");
        },
        Outcome::Loads));
    cases.push_back(mk(
        "hostile names in both media folders", {},
        [](const Layout& l) {
            for (const HostileName& h : hostileNames()) {
                writeFileText(l.resource("gfx") / h.name, "x");
                writeFileText(l.resource("mmedia") / (h.name + ".wav"), "x");
            }
        },
        Outcome::Loads));
    return cases;
}

// Each list's heading counts the lines under it.
void expectHeadingsAgree(const std::string& report, const std::string& label) {
    const std::regex heading(
        R"(\n((MISSING FILES FROM|UNUSED FILES IN) (GFX|MMEDIA) (FOLDER|FOLDER) \((\d+)\) \*\*?:)\n)");
    for (auto it = std::sregex_iterator(report.begin(), report.end(), heading); it != std::sregex_iterator(); ++it)
        EXPECT_EQ(linesUnder(report, (*it)[1]).size(), std::stoul((*it)[5])) << label << ": " << (*it)[1];
}

class DamagedProjects : public ::testing::TestWithParam<Case> {};

TEST_P(DamagedProjects, NoCrashNoHangTheDefinedOutcomeAndAnUnchangedFolder) {
    const Case& c = GetParam();
    if (c.needsNonRoot && ::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold back root; run the tests as another user for this case";
    TempDir dir;
    const Layout l{dir.path(), dir / "p", dir / "outside"};
    fs::create_directories(l.outside);
    ProjectBuilder b = baseProject();
    c.build(b);
    const std::string project = b.write(l.project).string();
    c.damage(l);
    const TreeSnapshot before = snapshotTree(dir.path());
    const std::string named = (l.project / c.named).string();

    std::vector<std::vector<std::string>> commands = {{"info", project},
                                                      {"files", project, "--fail-on-missing"},
                                                      {"check", project},
                                                      {"unused-flags", project},
                                                      {"flag-usage", project},
                                                      {"track-flag", project, "12"},
                                                      {"scene-flags", project, "all"},
                                                      {"scene-properties", project, "all"}};
    for (std::size_t i = 0, n = commands.size(); i < n; ++i) {
        commands.push_back(commands[i]);
        commands.back().insert(commands.back().end(), {"--format", "json"});
    }
    commands.push_back({"check", project, "--format", "sarif"});
    for (const auto& args : commands) {
        const bool json = args.back() == "json" || args.back() == "sarif";
        const bool listsFiles = args[0] == "files" || args[0] == "check";
        const std::string label = c.name + " / " + args[0] + (json ? " " + args.back() : "");
        ::alarm(60); // a hang ends the test program instead of the test run going on for ever
        const ScanResult r = runScan(args);
        ::alarm(0);
        EXPECT_TRUE(isValidUtf8(r.out)) << label;
        if (json && r.status != 3) {
            EXPECT_TRUE(OrderedJson::accept(r.out)) << label;
        }
        switch (c.outcome) {
        case Outcome::Loads: // gone.bmp is missing
            EXPECT_EQ(r.status, listsFiles ? 1 : 0) << label << "\n" << r.err;
            EXPECT_EQ(r.err, "") << label;
            if (args[0] == "info" && !json) {
                EXPECT_THAT(r.out, HasSubstr(c.infoHas)) << label;
            }
            break;
        case Outcome::SecurityFailure:
            EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(3, "")) << label;
            EXPECT_THAT(r.err, HasSubstr("There was a project security failure.")) << label;
            EXPECT_THAT(r.err, HasSubstr("The project lock of ")) << label;
            break;
        case Outcome::Fails:
            EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(3, "")) << label;
            EXPECT_THAT(r.err, HasSubstr("orvanta-scan: " + named + ": ")) << label;
            EXPECT_THAT(r.err, HasSubstr(c.reason)) << label;
            EXPECT_THAT(r.err, Not(HasSubstr("security"))) << label;
            break;
        case Outcome::Incomplete: // which outranks the missing gone.bmp
            EXPECT_EQ(r.status, listsFiles ? 5 : 0) << label;
            if (listsFiles) {
                EXPECT_EQ(r.err, "orvanta-scan: " + named + ": cannot list the folder (" + c.reason +
                                     "); its files are left out of the " +
                                     (args[0] == "files" ? "report\n" : "check\n"))
                    << label;
            }
            break;
        }
        if (args[0] == "files" && !json && r.status != 3)
            expectHeadingsAgree(r.out, label);

        TreeSnapshot after = snapshotTree(dir.path());
        if (c.created) {
            const std::string createdName = "p/" + dataFile(*c.created);
            ASSERT_TRUE(after.contains(createdName)) << label;
            EXPECT_EQ(fs::symlink_status(dir / createdName).type(), fs::file_type::regular) << label;
            EXPECT_EQ(fs::file_size(dir / createdName), 0u) << label;
            after.erase(createdName);
        }
        EXPECT_EQ(after, before) << label;
    }
    // Leave nothing the temporary folder's removal cannot undo.
    for (const char* restore : {"resource/gfx", "resource/Orvanta1.dat", "resource/Orvanta2.dat",
                                "resource/Orvanta3.dat", "resource/Orvanta4.dat", "resource/Orvanta5.dat"})
        ::chmod((l.project / restore).c_str(), 0755);
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (char ch : info.param.name)
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Matrix, DamagedProjects, ::testing::ValuesIn(matrix()), caseName);

} // namespace
} // namespace orv::testing
