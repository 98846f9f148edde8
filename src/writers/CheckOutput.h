#pragma once

#include "findings/Findings.h"

#include <ostream>
#include <string_view>

namespace orv {

class JsonStream;

// The outputs of a check, each written as the findings come, so that memory
// stays bounded whatever their number. `project` names the project as the
// user named it; `asciiOnly` escapes every character outside ASCII (a JSON
// document for a terminal).

// `PROJECT: error|warning: PLACE: MESSAGE [CLASS]`, one line per finding,
// then a summary line.
void WriteCheckText(std::ostream& out, std::string_view project, const ProjectCheck& check, const FailOn& failOn);
void WriteCheckJson(JsonStream& json, const LoadedProject& project, const ProjectCheck& check, const FailOn& failOn);
// SARIF 2.1.0, one rule per class.
void WriteCheckSarif(JsonStream& json, std::string_view project, const ProjectCheck& check, const FailOn& failOn);

} // namespace orv
