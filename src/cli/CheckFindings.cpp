#include "cli/CheckFindings.h"

#include "cli/JsonOutput.h"
#include "data/ProgramInfo.h"

#include <stdexcept>

namespace orv {

namespace {

struct ClassInfo {
    std::string_view name;
    std::string_view description;
};

constexpr std::array<ClassInfo, AllFindingClasses.size()> Classes = {{
    {"missing", "A resource file the project names is not in its media folder."},
    {"unused-files", "A file in a media folder that nothing in the project names."},
    {"unused-flags", "A flag from 1 to 255 that no enabled statement tests or changes."},
    {"dead-ends", "A flag that is tested but never changed: a test that never holds can never be passed."},
    {"out-of-range", "A flag number outside 1 to 255 in the project's data."},
}};

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

std::size_t index(FindingClass c) {
    return static_cast<std::size_t>(c);
}

std::string_view level(const Finding& f, const FailOn& failOn) {
    return failOn.contains(f.findingClass) ? "error" : "warning";
}

std::array<std::size_t, AllFindingClasses.size()> countByClass(const std::vector<Finding>& findings) {
    std::array<std::size_t, AllFindingClasses.size()> counts{};
    for (const Finding& f : findings)
        ++counts[index(f.findingClass)];
    return counts;
}

} // namespace

std::string_view FindingClassName(FindingClass c) {
    return Classes[index(c)].name;
}

std::optional<FindingClass> ParseFindingClass(std::string_view name) {
    for (const FindingClass c : AllFindingClasses)
        if (FindingClassName(c) == name)
            return c;
    return std::nullopt;
}

FailOn FailOn::parse(std::string_view list) {
    FailOn failOn;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (!name.empty()) {
            const auto c = ParseFindingClass(name);
            if (!c)
                throw std::invalid_argument("unknown class '" + std::string(name) +
                                            "' (known: missing, unused-files, unused-flags, dead-ends, out-of-range)");
            failOn.classes[index(*c)] = true;
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return failOn;
}

bool CheckFailed(const std::vector<Finding>& findings, const FailOn& failOn) {
    for (const Finding& f : findings)
        if (failOn.contains(f.findingClass))
            return true;
    return false;
}

std::string CheckText(std::string_view project, const std::vector<Finding>& findings, const FailOn& failOn) {
    // Sized first: a large project makes tens of thousands of lines, which a
    // growing stream would copy again and again.
    std::size_t size = 200;
    for (const Finding& f : findings)
        size += project.size() + f.place.size() + f.message.size() + 40;
    std::string text;
    text.reserve(size);
    std::size_t errors = 0;
    for (const Finding& f : findings) {
        const std::string_view lvl = level(f, failOn);
        errors += lvl == "error";
        text.append(project).append(": ").append(lvl).append(": ");
        if (!f.place.empty())
            text.append(f.place).append(": ");
        text.append(f.message).append(" [").append(FindingClassName(f.findingClass)).append("]\n");
    }
    const auto counts = countByClass(findings);
    const std::size_t warnings = findings.size() - errors;
    text.append(project).append(": ").append(std::to_string(errors)).append(errors == 1 ? " error, " : " errors, ");
    text.append(std::to_string(warnings)).append(warnings == 1 ? " warning" : " warnings").append(" (");
    for (const FindingClass c : AllFindingClasses)
        text.append(c == AllFindingClasses.front() ? "" : ", ")
            .append(FindingClassName(c))
            .append(" ")
            .append(std::to_string(counts[index(c)]));
    text.append(")\n");
    return text;
}

void WriteCheckText(std::ostream& out, std::string_view project, const std::vector<Finding>& findings,
                    const FailOn& failOn) {
    out << CheckText(project, findings, failOn);
}

void WriteCheckJson(std::ostream& out, std::string_view project, const std::vector<Finding>& findings,
                    const FailOn& failOn) {
    JsonStream json(out);
    json.beginObject();
    json.value("schema", JsonSchemaVersion);
    json.value("command", "check");
    json.value("project", ValidUtf8(project));
    OrderedJson failing = OrderedJson::array();
    for (const FindingClass c : AllFindingClasses)
        if (failOn.contains(c))
            failing.push_back(FindingClassName(c));
    json.value("failOn", failing);
    json.beginArray("findings");
    for (const Finding& f : findings)
        json.item({{"class", FindingClassName(f.findingClass)},
                   {"level", level(f, failOn)},
                   {"place", f.place},
                   {"message", f.message},
                   {"file", f.artifact}});
    json.endArray();
    OrderedJson counts = OrderedJson::object();
    const auto byClass = countByClass(findings);
    for (const FindingClass c : AllFindingClasses)
        counts[std::string(FindingClassName(c))] = byClass[index(c)];
    json.value("counts", counts);
    json.value("failed", CheckFailed(findings, failOn));
    json.endObject();
}

void WriteCheckSarif(std::ostream& out, std::string_view project, const std::vector<Finding>& findings,
                     const FailOn& failOn) {
    OrderedJson rules = OrderedJson::array();
    for (const FindingClass c : AllFindingClasses)
        rules.push_back({{"id", FindingClassName(c)},
                         {"shortDescription", {{"text", Classes[index(c)].description}}},
                         {"defaultConfiguration", {{"level", failOn.contains(c) ? "error" : "warning"}}}});
    JsonStream json(out);
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
    for (const Finding& f : findings) {
        OrderedJson location = {
            {"physicalLocation",
             {{"artifactLocation", {{"uri", uriReference(f.artifact)}, {"uriBaseId", "PROJECTROOT"}}}}}};
        if (!f.place.empty())
            location["logicalLocations"] = OrderedJson::array({{{"fullyQualifiedName", f.place}}});
        json.item({{"ruleId", FindingClassName(f.findingClass)},
                   {"ruleIndex", index(f.findingClass)},
                   {"level", level(f, failOn)},
                   {"message", {{"text", f.message}}},
                   {"locations", OrderedJson::array({location})}});
    }
    json.endArray();
    json.endObject();
    json.endArray();
    json.endObject();
}

} // namespace orv
