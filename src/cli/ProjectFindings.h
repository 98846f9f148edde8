#pragma once

#include "cli/CheckFindings.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace orv {

struct AuditLists;
class JsonStream;
struct ReportContext;

// The "files" document: for gfx and mmedia, each missing name with every
// place that references it and what was probably meant, each unused file
// with its size; then the totals. Runs the collection pass into `lists`
// (the data files must be open).
void WriteFilesJson(JsonStream& json, ReportContext& ctx, AuditLists& lists);

// What `orvanta-scan check` reports: the missing files at each place that
// names them (with near-miss suggestions), the unused files, the unused
// flags, the tests of never-changed flags that never hold, and the flag
// numbers outside 1 to 255. Runs both passes over the project; the data
// files must be open. `lists` is filled as by the files report.
std::vector<Finding> GatherFindings(ReportContext& ctx, AuditLists& lists);

} // namespace orv
