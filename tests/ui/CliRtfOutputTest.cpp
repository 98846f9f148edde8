#include "TestProjects.h"

#include "cli/Cli.h"
#include "reports/ReportRtf.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orv::testing {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& file) {
    const auto bytes = readFileBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

int scan(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    return runCli(args, {out, err, false});
}

// orvanta-scan -o FILE.rtf writes the document the report window saves.
TEST(CliRtfOutput, MatchesTheSavedReport) {
    TempDir dir;
    const fs::path project = trackerProject(3).write(dir / "game");
    ASSERT_EQ(scan({"track-flag", project.string(), "12", "-o", (dir / "flag.txt").string()}), 0);
    ASSERT_EQ(scan({"track-flag", project.string(), "12", "-o", (dir / "flag.RTF").string()}), 0);
    std::string text = fileText(dir / "flag.txt");
    ASSERT_FALSE(text.empty());
    text.pop_back(); // the plain file ends with one line feed
    EXPECT_EQ(fileText(dir / "flag.RTF"), ReportRtf(text) + "\r\n");
}

} // namespace
} // namespace orv::testing
