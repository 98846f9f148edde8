#pragma once

#include "data/Text.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace orv {

struct FlagStatement;
struct LoadedProject;
struct ReferencePlace;

// The version of the JSON documents orvanta-scan writes (docs/orvanta-scan.schema.json).
// It changes only when a key is removed or changes meaning.
inline constexpr int JsonSchemaVersion = 1;

using OrderedJson = nlohmann::ordered_json;

// Writes one JSON document of objects and arrays a piece at a time, so that
// a report of millions of statements never has to be held as one tree. Keys
// come out in the order they are written; each array item stands on a line
// of its own.
class JsonStream {
  public:
    // asciiOnly escapes every character outside ASCII (for a terminal, which
    // nothing in a project's names may drive).
    explicit JsonStream(std::ostream& out, bool asciiOnly = false);

    void beginObject(std::string_view key = {});
    void endObject();
    void beginArray(std::string_view key);
    void endArray();
    // A member of the current object (with a key) or an item of the current array.
    void value(std::string_view key, const OrderedJson& value);
    void item(const OrderedJson& value) { this->value({}, value); }
    // An item already written as JSON text.
    void raw(std::string_view json);
    bool asciiOnly() const { return ascii_; }

  private:
    void separate(std::string_view key);
    std::ostream& out_;
    bool ascii_;
    std::string indent_;
    bool first_ = true;
};

// One JSON object written as text straight into a buffer, compact, as the
// library would dump it: a document of millions of statements or findings
// spends its time here, and a tree for each would cost several times the
// writing. Strings go through the library's escaping (every character
// outside ASCII escaped with asciiOnly); keys are plain ASCII. An empty key
// adds an item to the array begun last.
class JsonObjectText {
  public:
    JsonObjectText(std::string& out, bool asciiOnly) : out_(out), ascii_(asciiOnly) { out_ += '{'; }

    void text(std::string_view key, std::string_view value);
    void number(std::string_view key, long value);
    void boolean(std::string_view key, bool value) {
        name(key);
        out_ += value ? "true" : "false";
    }
    void null(std::string_view key) {
        name(key);
        out_ += "null";
    }
    void begin(std::string_view key) {
        name(key);
        out_ += '{';
        first_ = true;
    }
    void end() {
        out_ += '}';
        first_ = false;
    }
    void beginArray(std::string_view key) {
        name(key);
        out_ += '[';
        first_ = true;
    }
    void endArray() {
        out_ += ']';
        first_ = false;
    }

  private:
    void name(std::string_view key);
    std::string& out_;
    bool ascii_;
    bool first_ = true;
};

// The bytes of a text as lower-case hex ("c3a9").
std::string HexBytes(std::string_view text);

// "project": where it is, its name, whether its lock is on, and its counts.
OrderedJson ProjectJson(const LoadedProject& project);

// One classified flag statement: its place, flag, use, comparison or change,
// and the sentence exactly as the text report writes it (one line, without
// the line feeds around it).
OrderedJson StatementJson(const FlagStatement& statement, std::string_view sentence, const LoadedProject& project);
// The same as text (exactly StatementJson's compact dump, or with every
// character outside ASCII escaped), appended to `out` without building a tree.
void AppendStatementJson(std::string& out, const FlagStatement& statement, std::string_view sentence,
                         const LoadedProject& project, bool asciiOnly = false);

// Where a reference to a missing file stands, as the files document writes
// it (compact, as the library would dump it), appended to `out`.
void AppendReferencePlaceJson(std::string& out, const ReferencePlace& place, const LoadedProject& project,
                              bool asciiOnly = false);

} // namespace orv
