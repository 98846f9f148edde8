#pragma once

#include "reports/FlagStatements.h"

#include <string>

namespace orv::testing {

// A classified list built by hand, one statement at a time.
struct ListBuilder {
    FlagStatementList list;

    ListBuilder& add(FlagUse use, Integer flag, const std::string& sentence, Integer comparison = 0,
                     Integer value = 0) {
        FlagStatement s;
        s.use = use;
        s.flag = flag;
        s.markedFlag = flag;
        s.marks = use != FlagUse::Problem;
        s.comparison = comparison;
        s.value = value;
        s.sentenceOffset = static_cast<std::uint32_t>(list.sentences.size());
        s.sentenceLength = static_cast<std::uint32_t>(sentence.size());
        list.sentences += sentence;
        list.statements.push_back(s);
        return *this;
    }
    ListBuilder& test(Integer flag, Integer comparison, Integer value, const std::string& sentence) {
        return add(FlagUse::Test, flag, sentence, comparison, value);
    }
    ListBuilder& change(Integer flag, const std::string& sentence) { return add(FlagUse::Change, flag, sentence); }
    // A conjunction result whose flag text has a fraction: rounded for the free list, written by no tracker.
    ListBuilder& fractionalResult(Integer rounded, const std::string& sentence) {
        add(FlagUse::Change, rounded, sentence);
        list.statements.back().whole = false;
        return *this;
    }
};

} // namespace orv::testing
