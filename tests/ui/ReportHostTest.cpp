#include "UiHarness.h"

// A run steps the bar thousands of times; the bar changes only when the
// percent it shows does, reaches its end, and is back at 0 after the report.
TEST_F(UiTest, TheProgressBarChangesOnlyWhenItsPercentDoes) {
    locate(trackerProject(60).write(dir.path()));
    auto* bar = control<QProgressBar>(&window, "ProgressBar1");
    QList<int> percents;
    int maximum = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, &window, [&](int value) {
        maximum = std::max(maximum, bar->maximum());
        percents << int(qint64(value) * 100 / bar->maximum());
    });
    fake.script = {"Yes"};
    EXPECT_TRUE(reportOf([&] { window.flagPicker().trackAllFlags(); }));
    EXPECT_EQ(maximum, (60 + 1 + 2) * 255 + 5);
    ASSERT_FALSE(percents.isEmpty());
    EXPECT_EQ(percents.takeLast(), 0) << "back at 0 after the report";
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::ranges::adjacent_find(percents, std::greater_equal<>()) == percents.end())
        << "one change per percent, rising";
}
