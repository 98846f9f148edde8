#pragma once

#include "reports/ReportHost.h"
#include "reports/RunState.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orv::testing {

// A report host for tests: counts yields, records every progress value and
// maximum, answers the incomplete-report question as scripted, gives a fixed
// date, and can play the picker's Cancel button during a chosen yield.
class FakeReportHost : public ReportHost {
public:
    explicit FakeReportHost(RunState& run) : run_(run) {}

    static constexpr const char* Date = "07-04-2026";

    // Cancel is pressed during yield number N (counting from 1) ...
    std::optional<int> cancelAtYield;
    // ... or during the first yield at which the bar shows at least N.
    std::optional<int> cancelAtProgress;
    // Runs during every yield, after the yield is counted.
    std::function<void()> onYield;
    bool answerViewIncomplete = true;

    int yields = 0;
    int questionsAsked = 0;
    std::vector<int> maximaSet;
    std::vector<bool> busy;

    void yield() override {
        ++yields;
        if ((cancelAtYield && yields == *cancelAtYield) ||
            (cancelAtProgress && progressValue() >= *cancelAtProgress))
            run_.CancelRequested = true;
        if (onYield)
            onYield();
    }
    bool askViewIncompleteReport() override {
        ++questionsAsked;
        return answerViewIncomplete;
    }
    std::string today() const override { return Date; }
    void setBusy(bool on) override { busy.push_back(on); }

protected:
    void progressChanged() override {
        if (maximaSet.empty() || maximaSet.back() != progressMaximum())
            maximaSet.push_back(progressMaximum());
    }

private:
    RunState& run_;
};

} // namespace orv::testing
