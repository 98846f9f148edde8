#pragma once

#include "ui/PickerWindow.h"

class QLineEdit;

namespace orv::ui {

class Prompts;
class ReportLauncher;

// The flag picker "FlagToTrack": a flag number from 1 to 255, or all flags,
// for the flag tracker listed by flag number. Its text box carries the
// window's name too ("FlagToTrack"), as a child of the window.
class FlagPicker : public PickerWindow {
    Q_OBJECT
  public:
    FlagPicker(RunState& run, Prompts& prompts, ReportLauncher& launcher, QWidget* parent);

    void trackSelectedFlag(); // Command1
    void trackAllFlags();     // Command3

  private:
    Prompts& prompts_;
    ReportLauncher& launcher_;
    QLineEdit* flagText_ = nullptr;
};

} // namespace orv::ui
