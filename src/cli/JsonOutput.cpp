#include "cli/JsonOutput.h"

#include "data/ProjectState.h"
#include "reports/FlagStatements.h"
#include "reports/FlagUsageReport.h"
#include "reports/ObjectTypes.h"

#include <array>
#include <utility>

namespace orv {

namespace {

constexpr std::array<std::string_view, 4> Comparisons = {"=", "<>", "<", ">"};
constexpr Integer SwitchType = 3;
constexpr Integer DelayType = 6;
constexpr Integer FlagConjunctionType = 9;

// A Flag Conjunction result names its flag and value in texts, which the
// sentence holds as written: the flag text and the value text.
std::pair<std::string, std::string> conjunctionTexts(std::string_view sentence, bool adds) {
    constexpr std::string_view SetLead = ") When all conditions are true, object will set flag # ";
    constexpr std::string_view SetMiddle = " to value ";
    constexpr std::string_view AddLead = ") When all conditions are true, object will add ";
    constexpr std::string_view AddMiddle = " to the current value of flag # ";
    const std::string_view lead = adds ? AddLead : SetLead;
    const std::string_view middle = adds ? AddMiddle : SetMiddle;
    const auto start = sentence.find(lead);
    if (start == std::string_view::npos)
        return {};
    const std::string_view rest = sentence.substr(start + lead.size());
    const auto split = rest.find(middle);
    if (split == std::string_view::npos)
        return {};
    std::string first(rest.substr(0, split)), second(rest.substr(split + middle.size()));
    if (adds)
        return {second, first};
    return {first, second};
}

OrderedJson sceneJson(const ProjectState& project, Integer scene) {
    return {{"scene", scene}, {"sceneName", project.sceneName(scene)}};
}

OrderedJson placeJson(const FlagStatement& s, const ProjectState& project) {
    OrderedJson place;
    switch (s.place) {
    case StatementPlace::ConditionalLoad:
    case StatementPlace::OnLoadChange:
        place = {{"kind", "scene"}};
        place.update(sceneJson(project, s.record));
        place["setting"] = s.place == StatementPlace::ConditionalLoad ? "conditional load" : "change on load";
        if (s.place == StatementPlace::ConditionalLoad)
            place["loadsScene"] = s.loadsScene != 0 ? OrderedJson(s.loadsScene) : OrderedJson(nullptr);
        break;
    case StatementPlace::Object: {
        place = {{"kind", "object"}};
        place.update(sceneJson(project, s.record));
        place["slot"] = s.slot;
        place["objectType"] = s.objectType;
        const auto name = ObjectTypeName(s.objectType);
        place["objectTypeName"] = name ? OrderedJson(*name) : OrderedJson(nullptr);
        break;
    }
    case StatementPlace::CueCard:
        place = {{"kind", "cue card"}, {"cueCard", s.record}, {"choice", s.slot}};
        break;
    case StatementPlace::InventoryItem:
        place = {{"kind", "inventory item"}, {"item", s.record}};
        break;
    case StatementPlace::PlayerSettings:
        place = {{"kind", "player settings"}};
        break;
    }
    return place;
}

bool isValidSequence(std::string_view text, std::size_t pos, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    char32_t cp = 0;
    if (lead < 0x80) {
        length = 1;
        return true;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return false;
    }
    if (pos + length > text.size())
        return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    return true;
}

} // namespace

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = 1;
        if (isValidSequence(text, pos, length)) {
            out.append(text.substr(pos, length));
            pos += length;
        } else {
            out.append("\xEF\xBF\xBD");
            ++pos;
        }
    }
    return out;
}

std::string HexBytes(std::string_view text) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(Digits[b >> 4]);
        out.push_back(Digits[b & 0x0F]);
    }
    return out;
}

JsonStream::JsonStream(std::ostream& out, bool asciiOnly) : out_(out), ascii_(asciiOnly) {}

void JsonStream::separate(std::string_view key) {
    if (!indent_.empty())
        out_ << (first_ ? "\n" : ",\n") << indent_;
    first_ = false;
    if (!key.empty())
        out_ << OrderedJson(std::string(key)).dump(-1, ' ', ascii_, nlohmann::json::error_handler_t::replace) << ": ";
}

void JsonStream::beginObject(std::string_view key) {
    separate(key);
    out_ << "{";
    indent_ += "  ";
    first_ = true;
}

void JsonStream::endObject() {
    indent_.resize(indent_.size() - 2);
    out_ << "\n" << indent_ << "}";
    first_ = false;
    if (indent_.empty())
        out_ << "\n";
}

void JsonStream::beginArray(std::string_view key) {
    separate(key);
    out_ << "[";
    indent_ += "  ";
    first_ = true;
}

void JsonStream::endArray() {
    indent_.resize(indent_.size() - 2);
    if (first_)
        out_ << "]";
    else
        out_ << "\n" << indent_ << "]";
    first_ = false;
}

void JsonStream::value(std::string_view key, const OrderedJson& value) {
    separate(key);
    out_ << value.dump(-1, ' ', ascii_, nlohmann::json::error_handler_t::replace);
}

OrderedJson ProjectJson(const ProjectState& project) {
    return {
        {"path", ValidUtf8(project.Paths.ProjectFilePath.string())},
        {"name", project.ProjectName},
        {"security", project.SecurityOn ? "ON" : "OFF"},
        {"counts",
         {{"scenes", project.SceneCount},
          {"objects", project.InsertableObjectCount},
          {"locations", project.LocationCount},
          {"inventoryItems", project.InventoryItemCount},
          {"cueCards", project.CueCardCount}}},
    };
}

OrderedJson StatementJson(const FlagStatement& s, const FlagStatementList& list, const ProjectState& project) {
    OrderedJson out = {{"place", placeJson(s, project)}};
    switch (s.use) {
    case FlagUse::Test: {
        out["use"] = "test";
        out["flag"] = s.flag;
        const bool known = s.comparison >= 0 && s.comparison < static_cast<Integer>(Comparisons.size());
        out["comparison"] =
            known ? OrderedJson(Comparisons[static_cast<std::size_t>(s.comparison)]) : OrderedJson(nullptr);
        out["comparisonCode"] = s.comparison;
        out["value"] = s.value;
        break;
    }
    case FlagUse::Change: {
        out["use"] = "change";
        out["flag"] = s.whole ? OrderedJson(s.flag) : OrderedJson(nullptr);
        const bool object = s.place == StatementPlace::Object;
        if (object && s.objectType == SwitchType) {
            out["operation"] = "positions";
            out["positionA"] = s.value;
            out["positionB"] = s.valueB;
        } else if (object && s.objectType == FlagConjunctionType) {
            auto [flagText, valueText] = conjunctionTexts(list.sentence(s), s.adds);
            out["operation"] = s.adds ? "add" : "set";
            out["flagText"] = ValidUtf8(flagText);
            out["value"] = ValidUtf8(valueText);
        } else {
            out["operation"] = s.adds ? "add" : "set";
            out["value"] = s.value;
            if (object && s.objectType == DelayType)
                out["delay"] = s.valueB;
        }
        break;
    }
    case FlagUse::Score:
        out["use"] = "score";
        out["flag"] = s.flag;
        break;
    case FlagUse::Problem:
        out["use"] = "problem";
        out["flag"] = nullptr;
        break;
    }
    out["sentence"] = std::string(SentenceLine(list.sentence(s)));
    return out;
}

} // namespace orv
