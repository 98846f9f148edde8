#include "reports/ScenePropertiesReport.h"

#include "reports/ReportContext.h"
#include "reports/TextConventions.h"

namespace orv {

void ScenePropertiesReport(ReportContext& ctx) {
    ctx.run.ReportName = "Scene Properties Report";
    AppendOpening(ctx.text, ScenePropertiesBanner);
    ctx.text.append("\n(NOT YET AVAILABLE)");
    AppendClosing(ctx.text);
}

} // namespace orv
