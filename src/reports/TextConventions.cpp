#include "reports/TextConventions.h"

#include "data/ProjectState.h"

namespace orv {

std::string SignedForm(long n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

std::string PlainForm(long n) { return std::to_string(n); }

std::string ReportHeader(std::string_view date, std::string_view projectInformation) {
    std::string header = "*** Orvanta Project Report ***\nDate scanned: ";
    header.append(date);
    header.append("\n\n");
    header.append(projectInformation);
    return header;
}

void AppendOpening(ReportText& text, std::string_view banner) {
    text.append("\n\n");
    text.append(SeparatorLine);
    text.append("\n");
    text.append(banner);
}

void AppendClosing(ReportText& text) {
    text.append("\n");
    text.append(SeparatorLine);
}

std::string SceneReference(const ProjectState& project, long sceneNo) {
    return "(Scene #" + SignedForm(sceneNo) + " (" + project.sceneName(sceneNo) + ")";
}

} // namespace orv
