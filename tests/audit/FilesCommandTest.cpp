#include "cli/Cli.h"

#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace orv {
namespace {
namespace fs = std::filesystem;
using testing::makeScene;
using testing::ProjectBuilder;
using testing::TempDir;

constexpr std::string_view ReportEnd = "\n======================================================================\n";

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    Result r;
    r.status = runCli(args, {out, err, false});
    r.out = out.str();
    r.err = err.str();
    return r;
}

ProjectBuilder projectMissing(const char* name) {
    ProjectBuilder b;
    b.scenes = {makeScene("Hall")};
    b.scenes[0].SceneFile[0] = name;
    b.gfxFiles = {{"spare.bmp", "x"}};
    return b;
}

TEST(FilesCommand, PrintsTheWholeReportAndExitsZero) {
    TempDir dir;
    const fs::path project = projectMissing("gone.bmp").write(dir.path());
    const Result r = run({"files", project.string()});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_TRUE(r.out.starts_with("*** Orvanta Project Report ***\nDate scanned: ")) << r.out;
    EXPECT_TRUE(r.out.ends_with(ReportEnd)) << "the report ends with its separator and one LF";
    EXPECT_NE(r.out.find("\nMISSING FILES FROM GFX FOLDER (1) *:\ngone.bmp\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nUNUSED FILES IN GFX FOLDER (1) **:\nspare.bmp\n"), std::string::npos);
}

TEST(FilesCommand, FailOnMissingGivesOneAndStillPrints) {
    TempDir dir;
    const fs::path project = projectMissing("gone.wav").write(dir.path());
    const Result r = run({"files", project.string(), "--fail-on-missing"});
    EXPECT_EQ(r.status, ExitMissingFiles);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\nMISSING FILES FROM MMEDIA FOLDER (1) *:\ngone.wav\n"), std::string::npos);
    EXPECT_TRUE(r.out.ends_with(ReportEnd));
}

TEST(FilesCommand, FailOnMissingWithNothingMissingGivesZero) {
    TempDir dir;
    ProjectBuilder b = projectMissing("spare.bmp"); // referenced and present; nothing missing
    b.gfxFiles["unused.gif"] = "x";
    const Result r = run({"files", "--fail-on-missing", b.write(dir.path()).string()});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_NE(r.out.find("\nTotal missing files: 0\nTotal unused files: 1\n"), std::string::npos);
}

} // namespace
} // namespace orv
