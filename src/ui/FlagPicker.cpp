#include "ui/FlagPicker.h"

#include "data/Numbers.h"
#include "data/ProgramInfo.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"
#include "ui/Prompts.h"
#include "ui/QtText.h"
#include "ui/ReportLauncher.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orv::ui {

FlagPicker::FlagPicker(RunState& run, Prompts& prompts, ReportLauncher& launcher, QWidget* parent)
    : PickerWindow(run, "FlagToTrack", parent), prompts_(prompts), launcher_(launcher) {
    prompt()->setText(QStringLiteral("Which flag would you like to track?"));
    flagText_ = new QLineEdit(QStringLiteral("1"), this);
    flagText_->setObjectName(QStringLiteral("FlagToTrack"));
    flagText_->setToolTip(QStringLiteral("(1-255)"));
    flagText_->setMinimumWidth(flagText_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10);
    arrange(flagText_, QStringLiteral("<-- Track selected flag"), QStringLiteral("Track ALL flags"));
    connect(runButton(), &QPushButton::clicked, this, &FlagPicker::trackSelectedFlag);
    connect(allButton(), &QPushButton::clicked, this, &FlagPicker::trackAllFlags);
}

void FlagPicker::trackSelectedFlag() {
    if (run_.ReportRunning || launcher_.busy())
        return;
    // A value too large for the run state's 16-bit number is out of range
    // all the same.
    const std::optional<Integer> flag = ReadFlagNumber(toUtf8(flagText_->text()));
    if (flag)
        run_.TrackedFlag = *flag;
    if (flag && *flag >= 1 && *flag <= 255) {
        run_.ReportRunning = true;
        launcher_.run(FlagsByFlagKind);
        focusInput();
        return;
    }
    prompts_.showMessage(this, toQString(ApplicationTitle), QStringLiteral("Flag number must be between 1 and 255."),
                         Prompts::Icon::None);
    focusInput();
}

void FlagPicker::trackAllFlags() {
    if (run_.ReportRunning || launcher_.busy())
        return;
    const QString question = QStringLiteral("Are you sure you want to track ALL flags?  Depending on the size\r"
                                            "of your project and the speed of your computer, this could take a while!");
    if (prompts_.ask(this, toQString(ApplicationTitle), question, Prompts::Buttons::YesNo, Prompts::Icon::None) ==
        Prompts::Answer::No)
        return;
    run_.ReportRunning = true;
    run_.TrackedFlag = AllSelector;
    launcher_.run(FlagsByFlagKind);
    focusInput();
}

} // namespace orv::ui
