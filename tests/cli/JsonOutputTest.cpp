#include "cli/JsonOutput.h"

#include "data/ProjectState.h"
#include "reports/FlagStatements.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orv::testing {
namespace {

TEST(JsonStream, WritesNestedObjectsAndArraysInTheOrderGivenThatParseBack) {
    std::ostringstream out;
    JsonStream json(out);
    json.beginObject();
    json.value("schema", 1);
    json.beginArray("empty");
    json.endArray();
    json.beginArray("items");
    json.item(OrderedJson{{"b", 2}, {"a", 1}});
    json.item("x\ny");
    json.endArray();
    json.beginObject("inner");
    json.value("z", nullptr);
    json.endObject();
    json.endObject();

    const std::string text = out.str();
    const OrderedJson parsed = OrderedJson::parse(text);
    EXPECT_EQ(parsed.dump(), R"({"schema":1,"empty":[],"items":[{"b":2,"a":1},"x\ny"],"inner":{"z":null}})");
    // One array item per line, so a long report streams and diffs line by line.
    EXPECT_NE(text.find("\n    {\"b\":2,\"a\":1},\n    \"x\\ny\"\n"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST(JsonText, ReplacesEachByteOutsideAValidSequenceAndGivesRawBytesAsHex) {
    EXPECT_EQ(ValidUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(ValidUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(ValidUtf8("\xC3"), "\xEF\xBF\xBD");                              // cut short
    EXPECT_EQ(ValidUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");              // overlong "/"
    EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"); // a surrogate
    EXPECT_EQ(ValidUtf8("\xF0\x9F\x8E\xB2"), "\xF0\x9F\x8E\xB2");
    EXPECT_EQ(HexBytes("A\xFF\n"), "41ff0a");
}

TEST(JsonStatements, NameThePlaceTheUseAndTheSentence) {
    ProjectState project;
    project.SceneListBox = {"(Not A Scene)", "Hall", "Kitchen"};
    FlagStatementList list;
    list.sentences = "visible sentenceclick sentence";
    FlagStatement test;
    test.place = StatementPlace::Object;
    test.use = FlagUse::Test;
    test.record = 2;
    test.slot = 3;
    test.objectType = 1;
    test.flag = 12;
    test.comparison = 1;
    test.value = 0;
    test.sentenceLength = 16;
    FlagStatement change;
    change.place = StatementPlace::CueCard;
    change.use = FlagUse::Change;
    change.record = 4;
    change.slot = 2;
    change.flag = 7;
    change.adds = true;
    change.value = 3;
    change.sentenceOffset = 16;
    change.sentenceLength = 14;

    EXPECT_EQ(StatementJson(test, list, project).dump(),
              R"({"place":{"kind":"object","scene":2,"sceneName":"Kitchen","slot":3,"objectType":1,)"
              R"("objectTypeName":"HotSpot"},"use":"test","flag":12,"comparison":"<>","comparisonCode":1,"value":0,)"
              R"("sentence":"visible sentence"})");
    EXPECT_EQ(StatementJson(change, list, project).dump(),
              R"({"place":{"kind":"cue card","cueCard":4,"choice":2},"use":"change","flag":7,"operation":"add",)"
              R"("value":3,"sentence":"click sentence"})");
}

} // namespace
} // namespace orv::testing
