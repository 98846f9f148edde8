#pragma once

namespace orv {

struct ReportContext;

// Report kinds 2 and 3: the scene properties report, whose body states that
// it is not yet available. Reads no project data.
void ScenePropertiesReport(ReportContext& ctx);

} // namespace orv
