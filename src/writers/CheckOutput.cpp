#include "writers/CheckOutput.h"

#include "audit/DiskNames.h"
#include "data/ProgramInfo.h"
#include "data/Text.h"
#include "writers/JsonOutput.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <system_error>

namespace orv {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view InformationUri = "https://orvanta-studio.example/scanner";
// The README section that explains every class.
constexpr std::string_view HelpUri = "https://orvanta-studio.example/scanner#finding-classes";

fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path out = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? path.lexically_normal() : out;
}

// Every byte but the unreserved ones and "/" percent-encoded, so blanks,
// accents and "#" survive.
std::string percentEncoded(std::string_view path) {
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

std::string fileUri(std::string_view absolute) {
    return "file://" + percentEncoded(absolute);
}

std::string placeAndMessage(const Finding& f) {
    return f.place.empty() ? f.message : f.place + ": " + f.message;
}

void appendPlaceAndMessage(std::string& out, const Finding& f) {
    if (!f.place.empty())
        out.append(f.place).append(": ");
    out.append(f.message);
}

// Lines gathered into one buffer and written a block at a time: a check may
// write a million of them.
class LineBlocks {
  public:
    explicit LineBlocks(std::ostream& out) : out_(out) { text_.reserve(Block + Block / 4); }
    std::string& text() { return text_; }
    void lineDone() {
        if (text_.size() >= Block)
            flush();
    }
    void flush() {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }

  private:
    static constexpr std::size_t Block = 64 * 1024;
    std::ostream& out_;
    std::string text_;
};

// The free flags as ranges: "1-5, 7, 9-12".
std::string flagRanges(const std::vector<int>& flags) {
    std::string out;
    for (std::size_t i = 0; i < flags.size();) {
        std::size_t j = i;
        while (j + 1 < flags.size() && flags[j + 1] == flags[j] + 1)
            ++j;
        out += (out.empty() ? "" : ", ") + std::to_string(flags[i]);
        if (j > i)
            out += "-" + std::to_string(flags[j]);
        i = j + 1;
    }
    return out;
}

// GitHub workflow commands: the message, and more so the properties, escape
// what would end them.
void appendCommandData(std::string& out, std::string_view text, bool property) {
    const std::string_view special = property ? std::string_view("%\r\n:,") : std::string_view("%\r\n");
    for (;;) {
        const std::size_t at = text.find_first_of(special);
        out.append(text.substr(0, at));
        if (at == std::string_view::npos)
            return;
        switch (text[at]) {
        case '%': out += "%25"; break;
        case '\r': out += "%0D"; break;
        case '\n': out += "%0A"; break;
        case ':': out += "%3A"; break;
        case ',': out += "%2C"; break;
        }
        text.remove_prefix(at + 1);
    }
}

// ValidUtf8(text) as a JSON member, without a copy of an ASCII text.
void validText(JsonObjectText& w, std::string_view key, std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        w.text(key, text);
    else
        w.text(key, ValidUtf8(text));
}

using Memo = CheckNames::Memo;

// `path` resolved as `resolved` does it, or nothing when the system could
// not say.
std::optional<fs::path> resolvedExactly(const fs::path& path) {
    std::error_code ec;
    fs::path out = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec)
        return std::nullopt;
    return out;
}

// A resolved path relative to the resolved `root`, or itself when it lies
// outside.
std::string fromRoot(const fs::path& full, const fs::path& root) {
    const fs::path relative = full.lexically_relative(root);
    return (relative.empty() || *relative.begin() == ".." ? full : relative).native();
}

// The folder `parent` of the project's folder, resolved and opened once.
Memo::Folder& folderOf(const CheckNames& names, std::string_view parent) {
    Memo& memo = names.memo;
    auto [at, added] = memo.folders.try_emplace(std::string(parent));
    Memo::Folder& folder = at->second;
    if (!added)
        return folder;
    const fs::path path = parent.empty() ? names.folder : names.folder / parent;
    std::optional<fs::path> resolvedPath = resolvedExactly(path);
    // A name is appended to the folder as a path element: a trailing "/"
    // would be an element of its own.
    if (!resolvedPath || (resolvedPath->native().ends_with('/') && resolvedPath->native() != "/"))
        return folder;
    Result<FolderHandle> opened = FolderHandle::open(path);
    if (!opened)
        return folder;
    folder.usable = true;
    folder.resolved = std::move(*resolvedPath);
    folder.handle = std::move(*opened);
    // A file of a folder that lies in the root is named by the folder's
    // relative path and its own name (by its name alone in the root itself);
    // any other goes through fromRoot.
    const fs::path relative = folder.resolved.lexically_relative(*memo.root);
    if (!relative.empty() && *relative.begin() != "..")
        folder.inside = relative.native();
    return folder;
}

Memo::File& fileOf(const CheckNames& names, const fs::path& file, bool plainFile) {
    Memo& memo = names.memo;
    const std::string& text = file.native();
    if (memo.last && memo.lastName == text)
        return *memo.last;
    if (!memo.root)
        memo.root = resolved(names.base);
    if (!plainFile)
        if (const auto known = memo.files.find(text); known != memo.files.end()) {
            memo.lastName = text;
            memo.last = &known->second;
            return known->second;
        }

    // The folder and the name; anything but a plain name in a folder that
    // could be resolved and opened is resolved the whole way.
    const std::size_t slash = text.rfind('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(text) : std::string_view(text).substr(slash + 1);
    const std::string_view parent =
        slash == std::string::npos ? std::string_view() : std::string_view(text).substr(0, slash);
    const bool simple =
        !file.is_absolute() && !name.empty() && name != "." && name != ".." && (parent.empty() || parent.back() != '/');
    Memo::Folder* folder = simple ? &folderOf(names, parent) : nullptr;
    if (folder && !folder->usable)
        folder = nullptr;
    if (folder && !plainFile) {
        // A link is resolved the whole way; a name that is not there is
        // where its folder is.
        struct stat st {};
        const std::string nameText(name);
        if (::fstatat(folder->handle.fd(), nameText.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? S_ISLNK(st.st_mode)
                                                                                            : errno != ENOENT)
            folder = nullptr;
    }

    Memo::File* out = &memo.plain;
    if (folder && plainFile)
        out->hasShown = false;
    else
        out = &memo.files[text];
    if (!folder)
        out->path = fromRoot(resolved(names.folder / file), *memo.root);
    else if (folder->inside.empty())
        out->path = fromRoot(folder->resolved / name, *memo.root);
    else if (folder->inside == ".")
        out->path.assign(name);
    else
        out->path.assign(folder->inside).append("/").append(name);
    memo.lastName = text;
    memo.last = out;
    return *out;
}

} // namespace

const std::string& CheckNames::pathOf(const fs::path& file, bool plainFile) const {
    return fileOf(*this, file, plainFile).path;
}

const std::string& CheckNames::shownPathOf(const fs::path& file, bool plainFile) const {
    Memo::File& known = fileOf(*this, file, plainFile);
    if (!known.hasShown) {
        known.shown = DisplayName(known.path);
        known.hasShown = true;
    }
    return known.shown;
}

std::string CheckSummaryLine(const CheckSummary& s, std::string_view project) {
    std::string line(project);
    line.append(": ").append(std::to_string(s.errors)).append(s.errors == 1 ? " error, " : " errors, ");
    line.append(std::to_string(s.warnings)).append(s.warnings == 1 ? " warning" : " warnings");
    if (s.notes > 0)
        line.append(", ").append(std::to_string(s.notes)).append(s.notes == 1 ? " note" : " notes");
    line.append(" (");
    for (const FindingClassInfo& info : FindingClasses)
        line.append(info.findingClass == FindingClasses.front().findingClass ? "" : ", ")
            .append(info.name)
            .append(" ")
            .append(std::to_string(s.reported[indexOf(info.findingClass)]));
    line.append(")");
    if (s.ignored > 0)
        line.append("; ").append(std::to_string(s.ignored)).append(" ignored");
    if (s.known > 0)
        line.append("; ").append(std::to_string(s.known)).append(" known from the baseline");
    if (s.fixed > 0)
        line.append("; ").append(std::to_string(s.fixed)).append(" fixed since the baseline");
    return line;
}

void WriteCheckText(std::ostream& out, CheckRun& run, const CheckNames& names) {
    LineBlocks lines(out);
    run.forEach([&](const Finding& f, Level level) {
        std::string& line = lines.text();
        line.append(names.shownPathOf(f.file, f.plainFile)).append(":1: ").append(LevelName(level)).append(": ");
        appendPlaceAndMessage(line, f);
        line.append(" [").append(FindingClassName(f.findingClass)).append("]\n");
        lines.lineDone();
    });
    lines.flush();
    out << CheckSummaryLine(run.summary(), DisplayName(names.project)) << "\n";
}

void WriteCheckGithub(std::ostream& out, CheckRun& run, const CheckNames& names) {
    LineBlocks lines(out);
    run.forEach([&](const Finding& f, Level level) {
        std::string& line = lines.text();
        line.append(level == Level::Error ? "::error" : level == Level::Warning ? "::warning" : "::notice");
        line.append(" file=");
        appendCommandData(line, names.shownPathOf(f.file, f.plainFile), true);
        line.append(",line=1,title=");
        appendCommandData(line, FindingClassName(f.findingClass), true);
        line.append("::");
        appendCommandData(line, f.place, false);
        if (!f.place.empty())
            line.append(": ");
        appendCommandData(line, f.message, false);
        line.append("\n");
        lines.lineDone();
    });
    lines.flush();
    out << CheckSummaryLine(run.summary(), DisplayName(names.project)) << "\n";
}

namespace {

void writeFailures(JsonStream& json, const std::vector<Failure>& failures) {
    OrderedJson list = OrderedJson::array();
    for (const Failure& f : failures)
        list.push_back({{"path", ValidUtf8(f.path.string())}, {"error", ValidUtf8(describeFailure(f))}});
    json.value("failures", list);
}

} // namespace

void WriteCheckJson(JsonStream& json, const LoadedProject& project, CheckRun& run, const CheckNames& names) {
    json.beginObject();
    json.value("schema", JsonSchemaVersion);
    json.value("command", "check");
    json.value("project", ProjectJson(project));
    const std::vector<Failure>& unlistable = run.check().unlistableFolders();
    json.value("complete", unlistable.empty());
    writeFailures(json, unlistable);
    OrderedJson failing = OrderedJson::array();
    for (const FindingClassInfo& info : FindingClasses)
        if (run.failOn().contains(info.findingClass))
            failing.push_back(info.name);
    json.value("failOn", failing);
    json.beginArray("findings");
    std::string item;
    run.forEach([&](const Finding& f, Level level) {
        item.clear();
        JsonObjectText w(item, json.asciiOnly());
        w.text("class", FindingClassName(f.findingClass));
        w.text("level", LevelName(level));
        w.text("place", f.place);
        w.text("message", f.message);
        validText(w, "file", f.file.native());
        validText(w, "path", names.pathOf(f.file, f.plainFile));
        const FingerprintDigits fingerprint = FingerprintOf(f);
        w.text("fingerprint", std::string_view(fingerprint.data(), fingerprint.size()));
        w.end();
        json.raw(item);
    });
    json.endArray();
    const CheckSummary& s = run.summary();
    OrderedJson counts = OrderedJson::object();
    for (const FindingClassInfo& info : FindingClasses)
        counts[std::string(info.name)] = s.reported[indexOf(info.findingClass)];
    json.value("counts", counts);
    json.value("ignored", s.ignored);
    if (run.usesBaseline())
        json.value("baseline", {{"known", s.known}, {"fixed", s.fixed}});
    json.value("failed", s.failed);
    json.endObject();
}

void WriteFailedCheckJson(JsonStream& json, const Failure& failure) {
    json.beginObject();
    json.value("schema", JsonSchemaVersion);
    json.value("command", "check");
    json.value("project", nullptr);
    json.value("complete", false);
    writeFailures(json, {failure});
    json.endObject();
}

namespace {

OrderedJson sarifRules(const FailOn& failOn) {
    OrderedJson rules = OrderedJson::array();
    for (const FindingClassInfo& info : FindingClasses)
        rules.push_back({{"id", info.name},
                         {"shortDescription", {{"text", info.description}}},
                         {"fullDescription", {{"text", info.explanation}}},
                         {"help", {{"text", info.help}}},
                         {"helpUri", HelpUri},
                         {"defaultConfiguration", {{"level", LevelName(failOn.levelOf(info.findingClass))}}}});
    return rules;
}

void openSarif(JsonStream& json, const OrderedJson& rules, const CheckNames& names, bool successful,
               const std::vector<std::string>& notifications) {
    json.beginObject();
    json.value("$schema", "https://json.schemastore.org/sarif-2.1.0.json");
    json.value("version", "2.1.0");
    json.beginArray("runs");
    json.beginObject();
    json.value("tool", {{"driver",
                         {{"name", "orvanta-scan"},
                          {"version", versionNumber()},
                          {"informationUri", InformationUri},
                          {"rules", rules}}}});
    OrderedJson told = OrderedJson::array();
    for (const std::string& text : notifications)
        told.push_back({{"level", successful ? "warning" : "error"}, {"message", {{"text", text}}}});
    OrderedJson invocation = {{"executionSuccessful", successful}};
    if (!told.empty())
        invocation["toolExecutionNotifications"] = told;
    json.value("invocations", OrderedJson::array({invocation}));
    std::string root = fileUri(resolved(names.base).native());
    if (root.back() != '/')
        root.push_back('/');
    json.value("originalUriBaseIds", {{"SRCROOT", {{"uri", root}}}});
}

void closeSarif(JsonStream& json) {
    json.endObject();
    json.endArray();
    json.endObject();
}

// One result written as text: a run may hold tens of thousands.
void appendResult(std::string& out, bool ascii, FindingClass c, Level level, std::string_view message,
                  const fs::path& file, bool plainFile, const CheckNames& names, std::string_view place,
                  std::string_view fingerprint) {
    out.clear();
    JsonObjectText w(out, ascii);
    w.text("ruleId", FindingClassName(c));
    w.number("ruleIndex", static_cast<long>(indexOf(c)));
    w.text("level", LevelName(level));
    w.begin("message");
    w.text("text", message);
    w.end();
    w.beginArray("locations");
    w.begin({});
    w.begin("physicalLocation");
    w.begin("artifactLocation");
    const std::string& path = names.pathOf(file, plainFile);
    if (path.starts_with('/')) {
        w.text("uri", fileUri(path));
    } else {
        w.text("uri", percentEncoded(path));
        w.text("uriBaseId", "SRCROOT");
    }
    w.end();
    w.begin("region");
    w.number("startLine", 1);
    w.end();
    w.end();
    if (!place.empty()) {
        w.beginArray("logicalLocations");
        w.begin({});
        w.text("fullyQualifiedName", place);
        w.end();
        w.endArray();
    }
    w.end();
    w.endArray();
    w.begin("partialFingerprints");
    w.text("orvantaFinding/v1", fingerprint);
    w.end();
    w.end();
}

// The findings of one class and file gathered into one result: how many,
// and the first few.
struct Group {
    std::size_t total = 0;
    std::size_t seen = 0;
    std::vector<std::string> first;
    std::filesystem::path firstFile; // where the gathered result points
    Level level = Level::Warning;
};
constexpr std::size_t ListedInGroup = 10;

} // namespace

void WriteCheckSarif(JsonStream& json, CheckRun& run, const CheckNames& names) {
    const std::vector<Failure>& unlistable = run.check().unlistableFolders();
    std::vector<std::string> notifications;
    for (const Failure& f : unlistable)
        notifications.push_back(ValidUtf8(describeFailure(f)) +
                                "; its files are left out of the check, so its findings may be wrong");

    // Above the cap, the largest sets of findings of one class and file
    // become one result each, largest first, until the results fit; the
    // unused flags are always one result.
    std::map<std::pair<FindingClass, std::string>, Group> groups;
    std::size_t results = 0;
    const auto counts = run.countByClassAndFile();
    for (const auto& [key, count] : counts) {
        if (key.first == FindingClass::UnusedFlags) {
            groups[key].total = count;
            results += 1;
        } else {
            results += count;
        }
    }
    if (results > MaxSarifResults) {
        std::vector<std::pair<std::size_t, std::pair<FindingClass, std::string>>> bySize;
        for (const auto& [key, count] : counts)
            if (key.first != FindingClass::UnusedFlags && count > 1)
                bySize.emplace_back(count, key);
        std::stable_sort(bySize.begin(), bySize.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& [count, key] : bySize) {
            if (results <= MaxSarifResults)
                break;
            groups[key].total = count;
            results -= count - 1;
        }
    }

    openSarif(json, sarifRules(run.failOn()), names, unlistable.empty(), notifications);
    json.beginArray("results");
    std::string result;
    std::vector<int> freeFlags;
    Level freeLevel = Level::Warning;
    fs::path projectFile;
    run.forEach([&](const Finding& f, Level level) {
        const auto found = groups.find({f.findingClass, GroupingFile(f)});
        if (found == groups.end()) {
            appendResult(result, json.asciiOnly(), f.findingClass, level, placeAndMessage(f), f.file, f.plainFile,
                         names, f.place, Fingerprint(f));
            json.raw(result);
            return;
        }
        if (f.findingClass == FindingClass::UnusedFlags) {
            freeFlags.push_back(f.flag);
            freeLevel = level;
            projectFile = f.file;
            return;
        }
        Group& group = found->second;
        group.level = level;
        if (group.first.empty())
            group.firstFile = f.file;
        if (group.first.size() < ListedInGroup)
            group.first.push_back(placeAndMessage(f));
        if (++group.seen < group.total)
            return;
        std::string message =
            std::to_string(group.total) + " " + std::string(FindingClassName(f.findingClass)) +
            (f.findingClass == FindingClass::UnusedFiles ? " findings in this folder" : " findings in this file") +
            ", gathered into one result (orvanta-scan check --format json "
            "lists every one); the first " +
            std::to_string(group.first.size()) + ":";
        for (const std::string& line : group.first)
            message += "\n" + line;
        Finding gathered;
        gathered.findingClass = f.findingClass;
        gathered.place = ValidUtf8(found->first.second);
        gathered.subject = "gathered";
        appendResult(result, json.asciiOnly(), f.findingClass, level, message, group.firstFile, false, names, {},
                     Fingerprint(gathered));
        json.raw(result);
        group = Group{};
    });
    if (!freeFlags.empty()) {
        Finding all;
        all.findingClass = FindingClass::UnusedFlags;
        all.subject = "flags";
        const std::string message = std::to_string(freeFlags.size()) + (freeFlags.size() == 1 ? " flag" : " flags") +
                                    " that no enabled statement tests or changes: " + flagRanges(freeFlags);
        appendResult(result, json.asciiOnly(), FindingClass::UnusedFlags, freeLevel, message, projectFile, false, names,
                     {}, Fingerprint(all));
        json.raw(result);
    }
    json.endArray();
    closeSarif(json);
}

void WriteFailedCheckSarif(JsonStream& json, const Failure& failure, const FailOn& failOn, const CheckNames& names) {
    openSarif(json, sarifRules(failOn), names, false,
              {"The project could not be checked: " + ValidUtf8(describeFailure(failure))});
    json.beginArray("results");
    json.endArray();
    closeSarif(json);
}

} // namespace orv
