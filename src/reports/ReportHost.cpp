#include "reports/ReportHost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace orv {

void ReportHost::setProgressMaximum(int maximum) {
    maximum_ = maximum < 0 ? 0 : maximum;
    if (value_ > maximum_)
        value_ = maximum_;
    progressChanged();
}

void ReportHost::setProgressValue(int value) {
    if (value >= 0 && value <= maximum_) {
        value_ = value;
        progressChanged();
    }
}

std::string ReportHost::today() const {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    return text;
}

void StepProgress(ReportHost& host) {
    if (host.progressValue() < host.progressMaximum())
        host.setProgressValue(host.progressValue() + 1);
    host.yield();
}

void StepProgressBy(ReportHost& host, int units) {
    if (units > 0)
        host.setProgressValue(std::min(host.progressMaximum(), host.progressValue() + units));
    host.yield();
}

} // namespace orv
