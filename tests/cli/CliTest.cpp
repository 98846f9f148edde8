// What the command line adds to the core: arguments, exit statuses, where the output goes, and check's
// lines. The reports themselves are checked in tests/reports and tests/audit.

#include "cli/CliProject.h"

#include <gmock/gmock.h>
#include <sys/wait.h>

namespace orv::testing {
namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string Flag20 = "\n(Scene # 2 (Cellar)) When this scene is loaded, set flag # 20 to value 4\n";
const std::string End = "\n" + std::string(70, '=') + "\n";

TEST_F(CliTest, FlagsAreReadAsTheFlagPickerReadsThemAndScenesByNumber) {
    const ScanResult r = runScan({"track-flag", project, "20"});
    EXPECT_THAT(r.out, StartsWith("*** Orvanta Project Report ***\nDate scanned: "));
    EXPECT_TRUE(r.out.ends_with("\n>>>>>> FLAG # 20 <<<<<<" + Flag20 + End)) << "and one line feed";
    EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(0, ""));
    for (const auto& [given, flag] : {std::pair{"20abc", 20}, {"2.5", 2}, {"3.5", 4}, {"  7", 7}, {"all", 255}})
        EXPECT_THAT(runScan({"track-flag", project, given}).out,
                    HasSubstr("\n>>>>>> FLAG # " + std::to_string(flag) + " <<<<<<\n"))
            << given;
    for (const char* given : {"0", "256", "99999", "abc", "-3", "0.4", "255.5"}) {
        const ScanResult bad = runScan({"track-flag", project, given});
        EXPECT_EQ(std::tuple(bad.status, bad.out + bad.err), std::tuple(2, "Flag number must be between 1 and 255.\n"))
            << given;
    }
    EXPECT_THAT(runScan({"scene-flags", project, "2"}).out, HasSubstr("\n>>>>>> SCENE # 2 (Cellar) <<<<<<" + Flag20));
    EXPECT_THAT(runScan({"scene-flags", project, "3"}).out,
                HasSubstr("\n>>>>>> SCENE # 3 (Caf\xC3\xA9\x1B[31m) <<<<<<\n"));
    EXPECT_EQ(runScan({"scene-properties", project, "1"}).out, runScan({"scene-properties", project, "all"}).out);
    for (const char* command : {"scene-flags", "scene-properties"})
        for (const char* scene : {"0", "4", "junk", "2x", "-1", "99999999"}) {
            const ScanResult bad = runScan({command, project, scene});
            EXPECT_EQ(std::tuple(bad.status, bad.out + bad.err), std::tuple(2, "Please choose a scene.\n")) << scene;
        }
    EXPECT_EQ(runScan({"flag-usage", project, "12"}).status, 2) << "it takes no flag";
    EXPECT_EQ(runScan({"unused-flags", project, "--format", "yaml"}).status, 2);
    EXPECT_EQ(runScan({"info", project, "--format", "text"}).out, runScan({"info", project}).out);
}

// An argument that starts with "-" is named, with the way to give it; after "--" it is taken as it is.
TEST_F(CliTest, AnArgumentThatLooksLikeAnOptionIsNamed) {
    for (const Args& args : {Args{"info", "-o.orv"}, Args{"track-flag", project, "-inf"}}) {
        const ScanResult r = runScan(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_THAT(r.err, StartsWith("orvanta-scan: '" + args.back() +
                                      "' is no option of this command; if it is a "
                                      "file or a value, put -- before it (orvanta-scan COMMAND -- " +
                                      args.back() + ")\n"));
    }
    EXPECT_EQ(runScan({"track-flag", project, "--", "-inf"}).err, "Flag number must be between 1 and 255.\n");
    builder.projectFileName = "-o.orv";
    builder.write(dir / "dash");
    const fs::path cwd = fs::current_path();
    fs::current_path(dir / "dash");
    const ScanResult r = runScan({"info", "--", "-o.orv"});
    fs::current_path(cwd);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("/-o.orv\n"));
}

// Every command and format writes to -o FILE what it writes to standard output; a text report named .rtf
// becomes RTF, and any other format refuses to be written as RTF.
TEST_F(CliTest, AnOutputFileHoldsWhatStandardOutputWouldShow) {
    const fs::path file = dir / "out.txt", rtf = dir / "report.RTF";
    for (Args args : everyCommand()) {
        if (args[0] == "info")
            continue; // standard output only
        for (const std::string format : {"text", "json", "sarif"}) {
            if (format == "sarif" && args[0] != "check")
                continue;
            args.insert(args.end(), {"--format", format});
            const ScanResult shown = runScan(args);
            args.insert(args.end(), {"-o", file.string()});
            const ScanResult written = runScan(args);
            EXPECT_EQ(std::tuple(written.status, written.out), std::tuple(shown.status, ""))
                << args[0] << " " << format;
            EXPECT_EQ(fileText(file), shown.out) << args[0] << " " << format;
            args.back() = rtf.string();
            const ScanResult asRtf = runScan(args);
            if (format == "text" && args[0] != "check") {
                EXPECT_THAT(fileText(rtf), StartsWith("{\\rtf1")) << args[0];
            } else {
                EXPECT_EQ(std::tuple(asRtf.status, asRtf.err, fs::exists(rtf)),
                          std::tuple(2,
                                     "orvanta-scan: --format " + format + " writes no RTF: name the output file " +
                                         rtf.string() + " otherwise\n",
                                     false))
                    << args[0] << " " << format;
            }
            fs::remove(rtf);
            args.resize(args.size() - 4);
        }
    }
}

TEST_F(CliTest, AWriteThatFailsExitsWithFourAndTheReason) {
    for (const char* format : {"text", "json"}) {
        const fs::path missing = dir / "no-such-folder" / "r.txt";
        const ScanResult r = runScan({"unused-flags", project, "--format", format, "-o", missing.string()});
        EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(4, "orvanta-scan: could not write the report to " +
                                                                 missing.string() + " (No such file or directory)\n"));
        const ScanResult full = runScan({"track-flag", project, "all", "--format", format, "-o", "/dev/full"});
        EXPECT_EQ(full.status, 4);
        EXPECT_THAT(full.err, HasSubstr("could not write the report to /dev/full (No space left on device)"));
    }
    std::vector<Args> all = everyCommand();
    all.insert(all.end(), {{"--help"}, {"--version"}, {"info", project, "--format", "json"}});
    for (const Args& args : all) { // a closed standard output
        std::ostringstream out, err;
        out.setstate(std::ios::badbit);
        EXPECT_EQ(runCli(args, {out, err, false, false}), 4) << args[0];
        EXPECT_THAT(err.str(), HasSubstr("cannot write the report to standard output")) << args[0];
    }
}

TEST_F(CliTest, FilesFailsOnMissingFilesOnlyWhenAsked) {
    const ScanResult r = runScan({"files", project});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("\nMISSING FILES FROM GFX FOLDER (1) *:\ndoor.bmp\n"));
    const ScanResult failing = runScan({"files", project, "--fail-on-missing"});
    EXPECT_EQ(std::tuple(failing.status, failing.out), std::tuple(1, r.out));
    builder.gfxFiles["door.bmp"] = "x";
    builder.scenes[0].Slots[4].ObjectText[0] = "";
    EXPECT_EQ(runScan({"files", "--fail-on-missing", builder.write(dir.path()).string()}).status, 0);
}

// `FILE:1: LEVEL: PLACE: MESSAGE [CLASS]`, FILE the file the finding is about, then the summary line.
TEST_F(CliTest, CheckWritesOneLinePerFindingAndFailsOnTheNamedClasses) {
    const ScanResult r = runScan({"check", project});
    EXPECT_EQ(r.status, ExitMissingFiles);
    const std::string scenes = (dir / "resource" / "Orvanta1.dat").string() + ":1: ";
    for (const std::string& expected : {
             scenes + "error: scene 1 (Kitchen), scene file 1: missing file 'door.bmp' (did you mean 'Door.gif'?) "
                      "[missing]",
             scenes + "error: scene 1 (Kitchen), slot 5 (empty): missing file 'gone.wav' [missing]",
             (dir / "resource" / "gfx" / "Door.gif").string() +
                 ":1: warning: resource/gfx: unused file 'Door.gif' (5 bytes) [unused-files]",
             project + ":1: warning: flag 1: no enabled statement tests or changes it [unused-flags]",
             scenes + "warning: scene 1 (Kitchen), object 3 (HotSpot): '(Scene # 1 (Kitchen) - HotSpot Object # 3) "
                      "Visible when flag # 12 = 1' never holds: nothing changes flag # 12, so it is always 0 [dead-ends]",
             scenes + "warning: scene 1 (Kitchen), change on load: flag number outside 1 to 255: '(Scene # 1 (Kitchen)) "
                      "When this scene is loaded, set flag # 300 to value 1' [out-of-range]",
             project + ": 2 errors, 253 warnings, 1 note (missing 2, unused-files 1, unused-flags 249, dead-ends 2, "
                       "out-of-range 1, unreachable 0, broken-scene-loads 0, always-holds 1)"})
        EXPECT_THAT("\n" + r.out, HasSubstr("\n" + expected + "\n")) << expected;
    EXPECT_EQ(linesOf(r.out).size(), 2u + 1 + 249 + 2 + 1 + 1 + 1);
    for (const char* used : {"flag 4:", "flag 5:", "flag 7:", "flag 9:", "flag 12:", "flag 20:"})
        EXPECT_THAT(r.out, ::testing::Not(HasSubstr(std::string(used) + " no enabled")));
    const std::pair<Args, int> failOn[] = {
        {{"missing"}, 1},      {{"unused-files"}, 1},     {{"unused-flags"}, 1}, {{"dead-ends"}, 1},
        {{"out-of-range"}, 1}, {{"always-holds"}, 1},     {{"unreachable"}, 0},  {{"broken-scene-loads"}, 0},
        {{""}, 0},             {{"", "dead-ends"}, 1},    {{"bogus"}, 2},        {{"missing,bogus"}, 2}};
    for (const auto& [classes, status] : failOn) {
        Args args{"check", project};
        for (const std::string& c : classes)
            args.insert(args.end(), {"--fail-on", c});
        EXPECT_EQ(runScan(args).status, status) << ::testing::PrintToString(classes);
    }
    EXPECT_THAT(runScan({"check", "--fail-on", "", project}).out, HasSubstr(": 0 errors, 255 warnings, 1 note ("));

    // A project with nothing wrong but its unused flags passes by default.
    ProjectBuilder clean;
    clean.scenes = {makeScene("Hall")};
    const std::string cleanProject = clean.write(dir / "clean").string();
    EXPECT_EQ(runScan({"check", cleanProject}).status, 0);
    EXPECT_EQ(runScan({"check", "--fail-on", "unused-flags", cleanProject}).status, 1);
    // A project file that is not there did not load: exit 3, and a SARIF log that says so for the upload
    const ScanResult absent = runScan({"check", (dir / "absent.orv").string(), "--format", "sarif"});
    EXPECT_EQ(std::tuple(absent.status, absent.err),
              std::tuple(3, "orvanta-scan: " + (dir / "absent.orv").string() + ": cannot open (No such file or directory)\n"));
    EXPECT_THAT(absent.out, HasSubstr("\"executionSuccessful\":false"));
}

// A project file's own name can forge no check line; the files are named as they are spelled on disk.
TEST_F(CliTest, CheckShowsTheProjectNameSafelyAndSpellsFilesAsOnDisk) {
    const std::string name = "game\nforged.orv: error: nothing: forged [missing].orv";
    builder.projectFileName = name;
    const std::string forged = builder.write(dir / "odd").string();
    fs::rename(dir / "odd" / "resource", dir / "odd" / "RESOURCE");
    fs::rename(dir / "odd" / "RESOURCE" / "gfx", dir / "odd" / "RESOURCE" / "GFX");
    fs::rename(dir / "odd" / "RESOURCE" / "Orvanta1.dat", dir / "odd" / "RESOURCE" / "orvanta1.DAT");
    const ScanResult r = runScan({"check", forged});
    const std::string odd = (dir / "odd").string() + "/";
    const std::string shown = odd + "game\uFFFDforged.orv: error: nothing: forged [missing].orv";
    const std::vector<std::string> lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 257u) << "a line feed in the name makes no line of its own";
    for (const std::string& line : lines)
        EXPECT_TRUE(line.starts_with(odd + "RESOURCE/orvanta1.DAT:1: ") || line.starts_with(odd + "RESOURCE/GFX/") ||
                    line.starts_with(shown + ":")) << line;
    EXPECT_THAT(r.out, HasSubstr("\n" + odd + "RESOURCE/GFX/Door.gif:1: warning: RESOURCE/GFX: unused file 'Door.gif' "
                                 "(5 bytes) [unused-files]\n"));
    // JSON names the files relative to the project's folder, SARIF relative to --sarif-root.
    const OrderedJson json = OrderedJson::parse(runScanJson({"check", forged}).out);
    const OrderedJson sarif =
        OrderedJson::parse(runScan({"check", forged, "--format", "sarif", "--sarif-root", dir.path().string()}).out);
    const std::map<std::string, std::pair<std::string, std::string>> expected = {
        {"missing", {"RESOURCE/orvanta1.DAT", "odd/RESOURCE/orvanta1.DAT"}},
        {"unused-files", {"RESOURCE/GFX/Door.gif", "odd/RESOURCE/GFX/Door.gif"}},
        {"dead-ends", {"RESOURCE/orvanta1.DAT", "odd/RESOURCE/orvanta1.DAT"}},
        {"unused-flags", {name, "odd/game%0Aforged.orv%3A%20error%3A%20nothing%3A%20forged%20%5Bmissing%5D.orv"}}};
    for (const OrderedJson& finding : json["findings"])
        if (const auto e = expected.find(finding["class"]); e != expected.end()) {
            EXPECT_EQ(finding["file"], e->second.first) << finding.dump();
        }
    for (const OrderedJson& result : sarif["runs"][0]["results"])
        if (const auto e = expected.find(result["ruleId"]); e != expected.end()) {
            EXPECT_EQ(result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], e->second.second);
        }
    EXPECT_EQ(json["project"]["path"], forged) << "the same project object as every other command's";
    EXPECT_EQ(json["project"], OrderedJson::parse(runScanJson({"info", forged}).out)["project"]);
}

// A file is named by where it is: an unused link by the file it links to, the files of a linked media
// folder by the folder linked to, relative to --sarif-root when they lie in it.
TEST_F(CliTest, CheckNamesLinkedFilesByWhatTheyLinkTo) {
    const fs::path p = builder.write(dir / "p").parent_path();
    fs::create_directories(dir / "away");
    writeFileText(dir / "away" / "real.gif", "abc");
    fs::create_symlink("Door.gif", p / "resource" / "gfx" / "linked.gif");
    fs::create_symlink(dir / "away" / "real.gif", p / "resource" / "gfx" / "far.gif");
    fs::create_symlink("absent.gif", p / "resource" / "gfx" / "dangling.gif");
    builder.write(dir / "q");
    fs::rename(dir / "q" / "resource" / "gfx", dir / "away" / "gfx");
    fs::create_symlink("../../away/gfx", dir / "q" / "resource" / "gfx");

    const auto uris = [&](const fs::path& folder) {
        const Args args{
            "check", (folder / "game.orv").string(), "--format", "sarif", "--sarif-root", dir.path().string()};
        const OrderedJson sarif = OrderedJson::parse(runScan(args).out);
        std::map<std::string, std::string> named; // message -> uri
        for (const OrderedJson& result : sarif["runs"][0]["results"])
            if (result["ruleId"] == "unused-files")
                named[result["message"]["text"]] =
                    result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"];
        return named;
    };
    EXPECT_EQ(uris(p), (std::map<std::string, std::string>{
                           {"resource/gfx: unused file 'Door.gif' (5 bytes)", "p/resource/gfx/Door.gif"},
                           {"resource/gfx: unused file 'far.gif' (3 bytes)", "away/real.gif"},
                           {"resource/gfx: unused file 'linked.gif' (5 bytes)", "p/resource/gfx/Door.gif"}}));
    EXPECT_EQ(uris(dir / "q"), (std::map<std::string, std::string>{
                                   {"resource/gfx: unused file 'Door.gif' (5 bytes)", "away/gfx/Door.gif"}}));
    const ScanResult r = runScan({"check", (p / "game.orv").string()});
    EXPECT_THAT(r.out, HasSubstr("\n" + (p / "resource" / "gfx" / "Door.gif").string() +
                                 ":1: warning: resource/gfx: unused file 'linked.gif' (5 bytes) [unused-files]\n"));
    EXPECT_THAT(r.out, HasSubstr("\n" + (dir / "away" / "real.gif").string() +
                                 ":1: warning: resource/gfx: unused file 'far.gif' (3 bytes) [unused-files]\n"));
}

TEST_F(CliTest, TheProgramRunsEndToEnd) {
    const auto scan = [&](const std::string& arguments) { // the exit status of the built program
        const int status = std::system(("'" ORVANTA_SCAN_BINARY "' " + arguments + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(scan("scene-flags '" + project + "' 4 >/dev/null"), 2);
    EXPECT_EQ(scan("check '" + project + "' --format json -o '" + (dir / "x.rtf").string() + "'"), 2);
    for (const char* args : {"--help", "files '%'", "check '%' --format sarif"}) {
        std::string command = args;
        if (const auto at = command.find('%'); at != std::string::npos)
            command.replace(at, 1, project);
        EXPECT_EQ(scan(command + " >/dev/full"), 4) << args;
        EXPECT_EQ(scan(command + " >&-"), 4) << args;
        EXPECT_EQ(scan(command + " >/dev/null"), std::string(args).starts_with("check") ? 1 : 0) << args;
    }
}

} // namespace
} // namespace orv::testing
