#include "reports/TextConventions.h"

#include "data/Project.h"

#include <charconv>

namespace orv {

std::string SignedForm(long n) {
    return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

std::string PlainForm(long n) {
    return std::to_string(n);
}

void AppendPlain(std::string& out, long n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end);
}

void AppendSigned(std::string& out, long n) {
    if (n >= 0)
        out.push_back(' ');
    AppendPlain(out, n);
}

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

void AppendScanStopped(ReportText& text, const Failure& failure, std::string_view what) {
    text.append("\n*** The scan stopped: the file " + failure.path.string() + " could not be read (" + failure.reason +
                "). ");
    text.append(what);
    text.append(" ***");
}

void AppendSceneReference(std::string& out, const LoadedProject& project, long sceneNo) {
    out.append("(Scene #");
    AppendSigned(out, sceneNo);
    out.append(" (");
    out.append(project.sceneName(sceneNo));
    out.push_back(')');
}

} // namespace orv
