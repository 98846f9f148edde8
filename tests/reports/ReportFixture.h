#pragma once

#include "reports/FakeReportHost.h"
#include "support/ProjectBuilder.h"
#include "support/TempDir.h"

#include "data/ProjectState.h"
#include "reports/ReportContext.h"
#include "reports/ReportText.h"
#include "reports/RunState.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace orv::testing {

// A project made with the builder, loaded as the desktop program loads it,
// and the whole run state a report works on.
class ReportFixture : public ::testing::Test {
protected:
    TempDir dir;
    ProjectBuilder builder;
    ProjectState project;
    RunState state;
    ReportText text;
    FakeReportHost host{state};
    ReportContext ctx{project, state, text, host};

    // Writes the builder's project and loads it; fails the test when the
    // load fails.
    void load();
    // Loads the project and opens its data files for direct generator calls.
    void loadAndOpen();
    // Runs a whole report of `kind` and returns its text.
    std::string runReport(Integer kind);
    // The header RunReport writes for the loaded project.
    std::string header() const;
};

// Joins lines the way reports write them: an LF before each line.
std::string lines(std::initializer_list<std::string_view> rows);

// Fixed lines of the report bodies.
inline constexpr std::string_view Separator =
    "======================================================================";
inline constexpr std::string_view ByFlagBanner =
    "=============== FLAG TRACKER (LISTED BY FLAG NUMBER) ================";
inline constexpr std::string_view BySceneBanner =
    "=============== FLAG TRACKER (LISTED BY SCENE NUMBER) ===============";
inline constexpr std::string_view UnusedBanner =
    "======================= FLAGS THAT ARE UNUSED =======================";
inline constexpr std::string_view OrderNote = "NOTE: The order in which flags are reported does not necessarily "
                                              "reflect the order in which the flags are changed when playing the game.";
inline constexpr std::string_view CheckboxNote = "NOTE: Flags that have been specified in properties, but have their "
                                                 "governing checkbox UNCHECKED, are not listed in this report.";

} // namespace orv::testing
