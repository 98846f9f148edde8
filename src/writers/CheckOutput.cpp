#include "writers/CheckOutput.h"

#include "data/ProgramInfo.h"
#include "writers/JsonOutput.h"

namespace orv {

namespace {

// A relative path as a URI reference: every byte but the unreserved ones
// and "/" percent-encoded, so blanks, accents and "#" survive.
std::string uriReference(std::string_view path) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto b = static_cast<unsigned char>(ch);
        const bool unreserved = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                                b == '-' || b == '.' || b == '_' || b == '~' || b == '/';
        if (unreserved) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(Hex[b >> 4]);
            out.push_back(Hex[b & 0x0F]);
        }
    }
    return out;
}

std::string_view level(const Finding& f, const FailOn& failOn) {
    return failOn.contains(f.findingClass) ? "error" : "warning";
}

} // namespace

void WriteCheckText(std::ostream& out, std::string_view project, const ProjectCheck& check, const FailOn& failOn) {
    std::size_t errors = 0, total = 0;
    std::string line;
    check.forEach([&](const Finding& f) {
        const std::string_view lvl = level(f, failOn);
        errors += lvl == "error";
        ++total;
        line.clear();
        line.append(project).append(": ").append(lvl).append(": ");
        if (!f.place.empty())
            line.append(f.place).append(": ");
        line.append(f.message).append(" [").append(FindingClassName(f.findingClass)).append("]\n");
        out << line;
    });
    const std::size_t warnings = total - errors;
    line.clear();
    line.append(project).append(": ").append(std::to_string(errors)).append(errors == 1 ? " error, " : " errors, ");
    line.append(std::to_string(warnings)).append(warnings == 1 ? " warning" : " warnings").append(" (");
    for (const FindingClassInfo& info : FindingClasses)
        line.append(info.findingClass == FindingClasses.front().findingClass ? "" : ", ")
            .append(info.name)
            .append(" ")
            .append(std::to_string(check.counts()[indexOf(info.findingClass)]));
    line.append(")\n");
    out << line;
}

void WriteCheckJson(JsonStream& json, const LoadedProject& project, const ProjectCheck& check, const FailOn& failOn) {
    json.beginObject();
    json.value("schema", JsonSchemaVersion);
    json.value("command", "check");
    json.value("project", ProjectJson(project));
    OrderedJson failing = OrderedJson::array();
    for (const FindingClassInfo& info : FindingClasses)
        if (failOn.contains(info.findingClass))
            failing.push_back(info.name);
    json.value("failOn", failing);
    json.beginArray("findings");
    std::string item;
    check.forEach([&](const Finding& f) {
        item.clear();
        JsonObjectText w(item, json.asciiOnly());
        w.text("class", FindingClassName(f.findingClass));
        w.text("level", level(f, failOn));
        w.text("place", f.place);
        w.text("message", f.message);
        w.text("file", ValidUtf8(f.file.string()));
        w.end();
        json.raw(item);
    });
    json.endArray();
    OrderedJson counts = OrderedJson::object();
    for (const FindingClassInfo& info : FindingClasses)
        counts[std::string(info.name)] = check.counts()[indexOf(info.findingClass)];
    json.value("counts", counts);
    json.value("failed", CheckFailed(check.counts(), failOn));
    json.endObject();
}

void WriteCheckSarif(JsonStream& json, std::string_view project, const ProjectCheck& check, const FailOn& failOn) {
    OrderedJson rules = OrderedJson::array();
    for (const FindingClassInfo& info : FindingClasses)
        rules.push_back(
            {{"id", info.name},
             {"shortDescription", {{"text", info.description}}},
             {"defaultConfiguration", {{"level", failOn.contains(info.findingClass) ? "error" : "warning"}}}});
    json.beginObject();
    json.value("$schema", "https://json.schemastore.org/sarif-2.1.0.json");
    json.value("version", "2.1.0");
    json.beginArray("runs");
    json.beginObject();
    json.value("tool", {{"driver",
                         {{"name", "orvanta-scan"},
                          {"version", versionNumber()},
                          {"informationUri", "https://orvanta-studio.example/scanner"},
                          {"rules", rules}}}});
    json.value("originalUriBaseIds", {{"PROJECTROOT", {{"description", {{"text", ValidUtf8(project)}}}}}});
    json.beginArray("results");
    std::string result;
    check.forEach([&](const Finding& f) {
        result.clear();
        JsonObjectText w(result, json.asciiOnly());
        w.text("ruleId", FindingClassName(f.findingClass));
        w.number("ruleIndex", static_cast<long>(indexOf(f.findingClass)));
        w.text("level", level(f, failOn));
        w.begin("message");
        w.text("text", f.message);
        w.end();
        w.beginArray("locations");
        w.begin({});
        w.begin("physicalLocation");
        w.begin("artifactLocation");
        w.text("uri", uriReference(f.file.string()));
        w.text("uriBaseId", "PROJECTROOT");
        w.end();
        w.end();
        if (!f.place.empty()) {
            w.beginArray("logicalLocations");
            w.begin({});
            w.text("fullyQualifiedName", f.place);
            w.end();
            w.endArray();
        }
        w.end();
        w.endArray();
        w.end();
        json.raw(result);
    });
    json.endArray();
    json.endObject();
    json.endArray();
    json.endObject();
}

} // namespace orv
