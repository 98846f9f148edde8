#include "findings/IgnoreRules.h"

#include "data/Text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>

namespace orv {

bool GlobMatch(std::string_view pattern, std::string_view text, GlobText kind, bool foldCase) {
    // Which prefixes of the text the pattern read so far can match, one row
    // per pattern character: time bounded by pattern x text, whatever the
    // stars (an ignore file comes with the project, and may be hostile).
    const bool path = kind == GlobText::Path;
    const auto same = [foldCase](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return foldCase ? lower(a) == lower(b) : a == b;
    };
    std::vector<char> row(text.size() + 1, 0), next(text.size() + 1, 0);
    row[0] = 1;
    for (std::size_t p = 0; p < pattern.size(); ++p) {
        std::fill(next.begin(), next.end(), 0);
        const char c = pattern[p];
        if (c == '*') {
            const bool twoStars = p + 1 < pattern.size() && pattern[p + 1] == '*';
            const bool crosses = !path || twoStars;
            if (twoStars)
                ++p;
            // "**/" matches no folder at all, as well as any.
            const bool noFolder = path && twoStars && p + 1 < pattern.size() && pattern[p + 1] == '/';
            bool reach = false;
            for (std::size_t t = 0; t <= text.size(); ++t) {
                if (row[t])
                    reach = true;
                else if (t > 0 && !crosses && text[t - 1] == '/')
                    reach = false;
                next[t] = reach;
            }
            if (noFolder) {
                // Skip the "/" after "**" where the stars matched nothing.
                std::vector<char> skipped(text.size() + 1, 0);
                for (std::size_t t = 0; t <= text.size(); ++t)
                    skipped[t] = row[t];
                ++p; // the "/"
                std::vector<char> after(text.size() + 1, 0);
                for (std::size_t t = 0; t < text.size(); ++t)
                    if (next[t] && text[t] == '/')
                        after[t + 1] = 1;
                for (std::size_t t = 0; t <= text.size(); ++t)
                    next[t] = after[t] || skipped[t];
            }
        } else {
            for (std::size_t t = 0; t < text.size(); ++t)
                if (row[t] && (c == '?' ? !path || text[t] != '/' : same(c, text[t])))
                    next[t + 1] = 1;
        }
        std::swap(row, next);
    }
    return row[text.size()] != 0;
}

namespace {

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

bool readNumber(std::string_view text, int& n) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    return error == std::errc{} && end == text.data() + text.size();
}

// "200-240, 250 17": numbers and ranges, separated by commas or blanks.
bool readFlags(std::string_view text, std::vector<std::pair<int, int>>& into) {
    std::size_t start = 0;
    bool any = false;
    while (start <= text.size()) {
        const std::size_t end = text.find_first_of(", \t", start);
        const std::string_view item = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
        if (!item.empty()) {
            const std::size_t dash = item.find('-');
            int first = 0, last = 0;
            if (dash == std::string_view::npos
                    ? !readNumber(item, first)
                    : !readNumber(item.substr(0, dash), first) || !readNumber(item.substr(dash + 1), last))
                return false;
            if (dash == std::string_view::npos)
                last = first;
            if (first < 1 || first > last || last > 255)
                return false;
            into.emplace_back(first, last);
            any = true;
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return any;
}

} // namespace

Result<IgnoreRules> IgnoreRules::parse(std::string_view text, const std::filesystem::path& file) {
    IgnoreRules rules;
    std::size_t lineNo = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNo;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = trimmed(line);
        if (line.empty())
            continue;
        const std::size_t blank = line.find_first_of(" \t");
        const std::string_view word = line.substr(0, blank);
        const std::string_view rest =
            blank == std::string_view::npos ? std::string_view{} : trimmed(line.substr(blank));
        const auto bad = [&](std::string_view why) {
            return Failure{FailureKind::CannotRead, file,
                           "line " + std::to_string(lineNo) + ": " + std::string(why) + ": " + std::string(line)};
        };
        if (word == "flag" || word == "flags") {
            if (!readFlags(rest, rules.flags_))
                return bad("flags are numbers from 1 to 255 or ranges such as 200-240");
        } else if (const auto c = ParseFindingClass(word)) {
            if (rest.empty())
                return bad("a class needs the pattern of a place");
            rules.places_.push_back({*c, std::string(rest)});
        } else if (blank == std::string_view::npos) {
            rules.mediaPatterns_.emplace_back(line);
        } else {
            return bad("not a media file pattern, flags or a class");
        }
    }
    return rules;
}

Result<IgnoreRules> IgnoreRules::read(const std::filesystem::path& file, bool mayBeMissing) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int err = errno;
        if (mayBeMissing && err == ENOENT)
            return IgnoreRules{};
        return systemFailure(FailureKind::CannotOpen, err, file);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str(), file);
}

bool IgnoreRules::ignores(const Finding& f) const {
    if (f.findingClass == FindingClass::UnusedFiles) {
        // The path below the resource folder: the media folder as the rules
        // spell it, then the file.
        const std::string path = foldCase(f.file.parent_path().filename().string()) + "/" + f.file.filename().string();
        for (const std::string& pattern : mediaPatterns_)
            if (GlobMatch(pattern, path, GlobText::Path, true) ||
                GlobMatch(pattern + "/**", path, GlobText::Path, true))
                return true;
    }
    if (f.findingClass == FindingClass::UnusedFlags)
        for (const auto& [first, last] : flags_)
            if (f.flag >= first && f.flag <= last)
                return true;
    for (const PlaceRule& rule : places_)
        if (rule.findingClass == f.findingClass && GlobMatch(rule.pattern, f.place, GlobText::Plain, false))
            return true;
    return false;
}

} // namespace orv
