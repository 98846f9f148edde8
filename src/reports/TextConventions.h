#pragma once

#include "data/Failure.h"
#include "reports/ReportText.h"

#include <string>
#include <string_view>

namespace orv {

struct LoadedProject;

// Lines are separated by a single LF, written before a line's text.
inline constexpr std::string_view SeparatorLine =
    "======================================================================";

// Banners: a title between runs of "=", 69 characters in all.
inline constexpr std::string_view UnusedFlagsBanner =
    "======================= FLAGS THAT ARE UNUSED =======================";
inline constexpr std::string_view FlagTrackerByFlagBanner =
    "=============== FLAG TRACKER (LISTED BY FLAG NUMBER) ================";
inline constexpr std::string_view FlagTrackerBySceneBanner =
    "=============== FLAG TRACKER (LISTED BY SCENE NUMBER) ===============";
inline constexpr std::string_view ScenePropertiesBanner =
    "==================== SCENES / OBJECTS PROPERTIES ====================";
inline constexpr std::string_view ResourceFilesBanner =
    "=================== MISSING & UNUSED RESOURCE FILES =================";
inline constexpr std::string_view FlagUsageBanner =
    "======================== FLAG USAGE SUMMARY =========================";

static_assert(SeparatorLine.size() == 70);
static_assert(UnusedFlagsBanner.size() == 69 && FlagTrackerByFlagBanner.size() == 69 &&
              FlagTrackerBySceneBanner.size() == 69 && ScenePropertiesBanner.size() == 69 &&
              ResourceFilesBanner.size() == 69 && FlagUsageBanner.size() == 69);

// Signed form: one blank before zero and positive numbers, a minus sign
// before negative ones ("# 7", "#-3"). Plain form: digits and minus sign only.
std::string SignedForm(long n);
std::string PlainForm(long n);
// The same, appended to `out` without a temporary.
void AppendSigned(std::string& out, long n);
void AppendPlain(std::string& out, long n);

// The header every report starts with: title line, "Date scanned: " and the
// date, an empty line, then the project information panel verbatim.
std::string ReportHeader(std::string_view date, std::string_view projectInformation);

// Opening of every report body: LF, LF, separator; LF, banner.
void AppendOpening(ReportText& text, std::string_view banner);
// Closing of every report body: LF, separator.
void AppendClosing(ReportText& text);

// "*** The scan stopped: the file PATH could not be read (REASON). WHAT ***",
// on a line of its own: what a report says instead of a result it could not
// make.
void AppendScanStopped(ReportText& text, const Failure& failure, std::string_view what);

// "(Scene #", n in signed form, " (", the scene's name, ")".
void AppendSceneReference(std::string& out, const LoadedProject& project, long sceneNo);

} // namespace orv
