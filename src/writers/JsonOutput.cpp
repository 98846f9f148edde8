#include "writers/JsonOutput.h"

#include "audit/ReferencePlaces.h"
#include "data/Project.h"
#include "data/Text.h"
#include "reports/FlagStatements.h"
#include "reports/FlagUsageReport.h"
#include "reports/ObjectTypes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace orv {

namespace {

constexpr std::array<std::string_view, 4> Comparisons = {"=", "<>", "<", ">"};

// The keys every place in a scene starts with, and those of an object slot;
// statements and references to missing files share them.
void writeScene(JsonObjectText& w, std::string_view kind, Integer scene, const LoadedProject& project) {
    w.text("kind", kind);
    w.number("scene", scene);
    w.text("sceneName", project.sceneName(scene));
}

void writeSlot(JsonObjectText& w, long slot, Integer objectType) {
    w.number("slot", slot);
    w.number("objectType", objectType);
    if (const auto name = ObjectTypeName(objectType))
        w.text("objectTypeName", *name);
    else
        w.null("objectTypeName");
}

void writePlace(JsonObjectText& w, const FlagStatement& s, const LoadedProject& project) {
    w.begin("place");
    switch (s.place) {
    case StatementPlace::ConditionalLoad:
    case StatementPlace::OnLoadChange:
        writeScene(w, "scene", s.record, project);
        w.text("setting", s.place == StatementPlace::ConditionalLoad ? "conditional load" : "change on load");
        if (s.place == StatementPlace::ConditionalLoad) {
            if (s.loadsScene != 0)
                w.number("loadsScene", s.loadsScene);
            else
                w.null("loadsScene");
        }
        break;
    case StatementPlace::Object:
        writeScene(w, "object", s.record, project);
        writeSlot(w, s.slot, s.objectType);
        break;
    case StatementPlace::CueCard:
        w.text("kind", "cue card");
        w.number("cueCard", s.record);
        w.number("choice", s.slot);
        break;
    case StatementPlace::InventoryItem:
        w.text("kind", "inventory item");
        w.number("item", s.record);
        break;
    case StatementPlace::PlayerSettings: w.text("kind", "player settings"); break;
    }
    w.end();
}

} // namespace

void JsonObjectText::text(std::string_view key, std::string_view value) {
    name(key);
    // Most texts need no escaping at all; the rest go through the library.
    const bool plain =
        std::all_of(value.begin(), value.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; });
    if (plain) {
        out_ += '"';
        out_ += value;
        out_ += '"';
    } else {
        out_ += OrderedJson(std::string(value)).dump(-1, ' ', ascii_, nlohmann::json::error_handler_t::replace);
    }
}

void JsonObjectText::number(std::string_view key, long value) {
    name(key);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out_.append(digits, end);
}

void JsonObjectText::name(std::string_view key) {
    if (!first_)
        out_ += ',';
    first_ = false;
    if (key.empty())
        return; // an array item
    out_ += '"';
    out_ += key;
    out_ += "\":";
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

void JsonStream::raw(std::string_view json) {
    separate({});
    out_ << json;
}

void JsonStream::value(std::string_view key, const OrderedJson& value) {
    separate(key);
    out_ << value.dump(-1, ' ', ascii_, nlohmann::json::error_handler_t::replace);
}

OrderedJson ProjectJson(const LoadedProject& project) {
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

void AppendStatementJson(std::string& out, const FlagStatement& s, std::string_view sentence,
                         const LoadedProject& project, bool asciiOnly) {
    JsonObjectText w(out, asciiOnly);
    writePlace(w, s, project);
    switch (s.use) {
    case FlagUse::Test: {
        w.text("use", "test");
        w.number("flag", s.flag);
        if (s.comparison >= 0 && s.comparison < static_cast<Integer>(Comparisons.size()))
            w.text("comparison", Comparisons[static_cast<std::size_t>(s.comparison)]);
        else
            w.null("comparison");
        w.number("comparisonCode", s.comparison);
        w.number("value", s.value);
        break;
    }
    case FlagUse::Change: {
        w.text("use", "change");
        if (s.whole)
            w.number("flag", s.flag);
        else
            w.null("flag");
        const bool object = s.place == StatementPlace::Object;
        if (object && IsObjectType(s.objectType, ObjectType::Switch)) {
            w.text("operation", "positions");
            w.number("positionA", s.value);
            w.number("positionB", s.valueB);
        } else if (s.isConjunctionResult()) {
            const auto [flagText, valueText] = ConjunctionTexts(s, sentence);
            w.text("operation", s.adds ? "add" : "set");
            w.text("flagText", flagText);
            w.text("value", valueText);
        } else {
            w.text("operation", s.adds ? "add" : "set");
            w.number("value", s.value);
            if (object && IsObjectType(s.objectType, ObjectType::Delay))
                w.number("delay", s.valueB);
        }
        break;
    }
    case FlagUse::Score:
        w.text("use", "score");
        w.number("flag", s.flag);
        break;
    case FlagUse::Problem:
        w.text("use", "problem");
        w.null("flag");
        break;
    }
    w.text("sentence", SentenceLine(sentence));
    out += '}';
}

OrderedJson StatementJson(const FlagStatement& s, std::string_view sentence, const LoadedProject& project) {
    std::string text;
    AppendStatementJson(text, s, sentence, project, false);
    return OrderedJson::parse(text);
}

void AppendReferencePlaceJson(std::string& out, const ReferencePlace& place, const LoadedProject& project,
                              bool asciiOnly) {
    JsonObjectText w(out, asciiOnly);
    const std::string field = std::to_string(place.field);
    using Kind = ReferencePlace::Kind;
    switch (place.kind) {
    case Kind::PlayerSettings:
        w.text("kind", "player settings");
        w.number("section", place.record);
        break;
    case Kind::Scene:
        writeScene(w, "scene", place.record, project);
        w.text("field", "SceneFile" + field);
        break;
    case Kind::Object:
        writeScene(w, "object", place.record, project);
        writeSlot(w, place.slot, place.objectType);
        w.text("field", "ObjectText" + field);
        break;
    case Kind::CueCard:
        w.text("kind", "cue card");
        w.number("cueCard", place.record);
        w.number("choice", place.field);
        break;
    case Kind::InventoryItem:
        w.text("kind", "inventory item");
        w.number("item", place.record);
        w.text("field", "ItemFile" + field);
        break;
    case Kind::Location:
        w.text("kind", "location");
        w.number("location", place.record);
        w.text("field", "LocationFile" + field);
        break;
    }
    w.end();
}

} // namespace orv
