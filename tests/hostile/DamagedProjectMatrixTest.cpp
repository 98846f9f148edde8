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

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;

enum class Outcome {
    Loads,           // every command succeeds (files and check find gone.bmp missing)
    SecurityFailure, // the lock check fails: status 3 with the security message
    Fails,           // status 3, and the message names `named` and gives `reason`
    Incomplete,      // a media folder cannot be listed: files and check exit 5 naming it, the rest succeed
};

struct Layout {
    fs::path project, outside;
    fs::path at(const std::string& relative) const { return project / relative; }
};

struct Case {
    std::string name;
    std::function<void(const Layout&)> damage;
    Outcome outcome = Outcome::Loads;
    std::string named = {};        // relative to the project folder
    std::string reason = {};       // in the message; for a project that loads, in its panel
    std::optional<int> created{};  // the data file loading creates empty
    bool needsNonRoot = false;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

std::vector<Case> matrix() {
    using enum Outcome;
    std::vector<Case> cases;
    const std::string counted[6] = {"", "Scenes", "Locations", "Inventory Items", "", "Cue Cards"};
    const std::size_t length[6] = {342, 4395, 112, 209, 908, 1712};
    for (int n = 1; n <= 5; ++n) {
        const std::string f = "resource/Orvanta" + std::to_string(n) + ".dat";
        const bool emptyMatches = n == 3 || n == 5; // an empty item or cue card file carries any lock
        const Outcome empty = emptyMatches ? Loads : SecurityFailure;
        const std::string none = emptyMatches ? counted[n] + " Count: 0\n" : "";
        cases.push_back({f + " missing", [f](auto& l) { fs::remove(l.at(f)); }, empty, f, none, n});
        cases.push_back({f + " empty", [f](auto& l) { fs::resize_file(l.at(f), 0); }, empty, f, none});
        cases.push_back({f + " one byte", [f](auto& l) { writeFileText(l.at(f), "\x01"); }, SecurityFailure});
        cases.push_back({f + " a folder", [f](auto& l) { fs::remove(l.at(f)), fs::create_directory(l.at(f)); }, Fails,
                         f, "is a folder, not a data file"});
        cases.push_back({f + " a FIFO", [f](auto& l) { fs::remove(l.at(f)), ::mkfifo(l.at(f).c_str(), 0644); }, Fails,
                         f, "is not an ordinary file"});
        cases.push_back({f + " a dangling link",
                         [f](auto& l) { fs::remove(l.at(f)), fs::create_symlink(l.outside / "made.dat", l.at(f)); },
                         Fails, f, "refused to follow the link"});
        cases.push_back({f + " a link to a device",
                         [f](auto& l) { fs::remove(l.at(f)), fs::create_symlink("/dev/zero", l.at(f)); }, Fails, f,
                         "/dev/zero, which is not an ordinary file"});
        cases.push_back({f + " a link to a file outside", [f](auto& l) {
                             fs::rename(l.at(f), l.outside / "moved.dat");
                             fs::create_symlink(l.outside / "moved.dat", l.at(f));
                         }});
        cases.push_back({f + " over 32767 records", [f, L = length[n]](auto& l) { fs::resize_file(l.at(f), 32768 * L); },
                         n == 4 ? Loads : Fails, f, n == 4 ? "" : "holds 32768 records of " + std::to_string(length[n])});
        cases.push_back({f + " unreadable", [f](auto& l) { ::chmod(l.at(f).c_str(), 0); }, Fails, f,
                         "cannot open (Permission denied)", {}, true});
    }
    // Cut at odd offsets: the last record counts when at least half of it is there (half to even).
    for (const auto& [n, cut, count] : {std::tuple{1, 4395 + 2197, 1}, {1, 4395 + 2198, 2}, {2, 280, 2}, {2, 300, 3},
                                        {3, 313, 1}, {3, 314, 2}, {5, 2568, 2}, {5, 4280, 2}, {5, 4281, 3}}) {
        const std::string f = "resource/Orvanta" + std::to_string(n) + ".dat";
        cases.push_back({f + " cut to " + std::to_string(cut) + " bytes",
                         [f, cut = cut](auto& l) { fs::resize_file(l.at(f), std::size_t(cut)); }, Loads, "",
                         counted[n] + " Count: " + std::to_string(count) + "\n"});
    }
    cases.push_back({"a .orv of 100 bytes", [](auto& l) { fs::resize_file(l.at("game.orv"), 100); }, SecurityFailure});
    cases.push_back({"an empty .orv", [](auto& l) { fs::resize_file(l.at("game.orv"), 0); }, SecurityFailure});
    cases.push_back({"no resource folder", [](auto& l) { fs::remove_all(l.at("resource")); }, Fails, "resource",
                     "the project has no resource folder"});
    cases.push_back({"resource a link out, a data file missing",
                     [](auto& l) {
                         fs::rename(l.at("resource"), l.outside / "resource");
                         fs::remove(l.outside / "resource" / "Orvanta5.dat");
                         fs::create_symlink(l.outside / "resource", l.at("resource"));
                     },
                     Fails, "resource/Orvanta5.dat", "nothing is created through a link"});
    // Media folders.
    cases.push_back({"gfx a loop of links",
                     [](auto& l) { fs::remove_all(l.at("resource/gfx")), fs::create_symlink("gfx", l.at("resource/gfx")); },
                     Incomplete, "resource/gfx", "Too many levels of symbolic links"});
    cases.push_back({"mmedia a file",
                     [](auto& l) { fs::remove_all(l.at("resource/mmedia")), writeFileText(l.at("resource/mmedia"), "x"); },
                     Incomplete, "resource/mmedia", "Not a directory"});
    cases.push_back({"gfx unreadable", [](auto& l) { ::chmod(l.at("resource/gfx").c_str(), 0); }, Incomplete,
                     "resource/gfx", "Permission denied", {}, true});
    cases.push_back({"gfx a dangling link", [](auto& l) {
                         fs::remove_all(l.at("resource/gfx"));
                         fs::create_symlink(l.outside / "none", l.at("resource/gfx"));
                     }});
    cases.push_back({"gfx entries: dangling link, FIFO, subfolder, loop, link out", [](auto& l) {
                         const fs::path gfx = l.at("resource/gfx");
                         fs::create_symlink(l.outside / "none.bmp", gfx / "gone.bmp");
                         ::mkfifo((gfx / "pipe.bmp").c_str(), 0644);
                         fs::create_directory(gfx / "sub.bmp");
                         fs::create_symlink("loop.bmp", gfx / "loop.bmp");
                         writeFileText(l.outside / "far.bmp", std::string(3000, 'x'));
                         fs::create_symlink(l.outside / "far.bmp", gfx / "far.bmp");
                     }});
    cases.push_back({"hostile names in both media folders", [](auto& l) {
                         for (const HostileName& h : hostileNames()) {
                             writeFileText(l.at("resource/gfx") / h.name, "x");
                             writeFileText(l.at("resource/mmedia") / (h.name + ".wav"), "x");
                         }
                     }});
    return cases;
}

// Each list's heading counts the lines under it.
void expectHeadingsAgree(const std::string& report, const std::string& label) {
    const std::regex heading(R"(\n((MISSING FILES FROM|UNUSED FILES IN) (GFX|MMEDIA) FOLDER \((\d+)\) \*\*?:)\n)");
    for (auto it = std::sregex_iterator(report.begin(), report.end(), heading); it != std::sregex_iterator(); ++it)
        EXPECT_EQ(linesUnder(report, (*it)[1]).size(), std::stoul((*it)[4])) << label << ": " << (*it)[1];
}

class DamagedProjects : public ::testing::TestWithParam<Case> {};

TEST_P(DamagedProjects, NoCrashNoHangTheDefinedOutcomeAndAnUnchangedFolder) {
    const Case& c = GetParam();
    if (c.needsNonRoot && ::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold back root; run the tests as another user for this case";
    TempDir dir;
    const Layout l{dir / "p", dir / "outside"};
    fs::create_directories(l.outside);
    ProjectBuilder b; // lock 77; two scenes, three locations, two items, three cue cards; gone.bmp is missing
    b.lock = 77;
    b.scenes = {makeScene("Quay"), makeScene("Lamp Room")};
    b.scenes[0].SceneFile[0] = "gone.bmp";
    b.scenes[1].SceneFile[0] = "present.bmp";
    b.locations.resize(3), b.items.resize(2), b.cueCards.resize(3);
    b.gfxFiles = {{"present.bmp", "x"}, {"spare.gif", "12345"}};
    b.mmediaFiles = {{"tune.mid", "x"}};
    const std::string project = b.write(l.project).string();
    c.damage(l);
    const TreeSnapshot before = snapshotTree(dir.path());
    const std::string named = l.at(c.named).string();

    std::vector<std::vector<std::string>> commands = {
        {"info", project},         {"files", project, "--fail-on-missing"}, {"check", project},
        {"unused-flags", project}, {"flag-usage", project},                 {"track-flag", project, "12"},
        {"scene-flags", project, "all"}, {"scene-properties", project, "all"}};
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
        EXPECT_TRUE(isValidUtf8(r.out) && (!json || r.status == 3 || OrderedJson::accept(r.out))) << label;
        if (c.outcome == Outcome::Loads) {
            EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(listsFiles ? 1 : 0, "")) << label;
            if (args[0] == "info" && !json) {
                EXPECT_THAT(r.out, HasSubstr(c.reason)) << label;
            }
        } else if (c.outcome == Outcome::Incomplete) { // which outranks the missing gone.bmp
            EXPECT_EQ(std::tuple(r.status, r.err),
                      std::tuple(listsFiles ? 5 : 0, !listsFiles ? "" : "orvanta-scan: " + named +
                                                                      ": cannot list the folder (" + c.reason +
                                                                      "); its files are left out of the " +
                                                                      (args[0] == "files" ? "report\n" : "check\n")))
                << label;
        } else {
            // check's JSON and SARIF still write a document that says the check did not run
            const bool document = json && args[0] == "check";
            EXPECT_EQ(r.status, 3) << label;
            if (!document)
                EXPECT_EQ(r.out, "") << label;
            else
                EXPECT_THAT(r.out, HasSubstr(args.back() == "sarif" ? "\"executionSuccessful\":false"
                                                                    : "\"complete\": false"))
                    << label;
            const bool security = c.outcome == Outcome::SecurityFailure;
            EXPECT_THAT(r.err, HasSubstr(security ? "There was a project security failure." : "orvanta-scan: " + named + ": "))
                << label;
            EXPECT_THAT(r.err, HasSubstr(security ? "\nThe project lock of " : c.reason)) << label;
        }
        if (args[0] == "files" && !json && r.status != 3)
            expectHeadingsAgree(r.out, label);
        TreeSnapshot after = snapshotTree(dir.path());
        if (c.created) {
            const std::string created = "p/resource/Orvanta" + std::to_string(*c.created) + ".dat";
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / created)) && fs::file_size(dir / created) == 0)
                << label;
            after.erase(created);
        }
        EXPECT_EQ(after, before) << label;
    }
    // Leave nothing the temporary folder's removal cannot undo.
    for (const std::string f : {"gfx", "Orvanta1.dat", "Orvanta2.dat", "Orvanta3.dat", "Orvanta4.dat", "Orvanta5.dat"})
        ::chmod(l.at("resource/" + f).c_str(), 0755);
}

INSTANTIATE_TEST_SUITE_P(Matrix, DamagedProjects, ::testing::ValuesIn(matrix()), [](const auto& p) {
    std::string name;
    for (char ch : p.param.name)
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
});

} // namespace
} // namespace orv::testing
