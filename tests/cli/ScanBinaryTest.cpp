#include "support/FileBytes.h"
#include "support/ProjectBuilder.h"
#include "support/RecordEncoders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace orv {
namespace {

// Runs the built orvanta-scan with a shell command line and returns its
// exit status.
int scan(const std::string& arguments) {
    const std::string command = std::string("'") + ORVANTA_SCAN_BINARY + "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ScanBinary, RunsTheReportCommandsEndToEnd) {
    testing::TempDir dir;
    testing::ProjectBuilder b;
    b.scenes = {testing::makeScene("Hall")};
    b.scenes[0].CondLoadEnabled = 1;
    b.scenes[0].CondLoadFlag = 3;
    const std::string project = "'" + b.write(dir.path()).string() + "'";
    const auto report = dir / "report.txt";

    EXPECT_EQ(scan("track-flag " + project + " 3 -o '" + report.string() + "'"), 0);
    const auto bytes = testing::readFileBytes(report);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("\n(Scene # 1 (Hall)) If flag # 3 = 0 then do nothing (no scene chosen to load)\n"),
              std::string::npos);
    EXPECT_EQ(scan("unused-flags " + project), 0);
    EXPECT_EQ(scan("track-flag " + project + " all"), 0);
    EXPECT_EQ(scan("scene-flags " + project + " all"), 0);
    EXPECT_EQ(scan("track-flag " + project + " 256"), 2);
    EXPECT_EQ(scan("scene-flags " + project + " 2"), 2);
}

} // namespace
} // namespace orv
