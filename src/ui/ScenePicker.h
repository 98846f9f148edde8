#pragma once

#include "ui/PickerWindow.h"

class QComboBox;

namespace orv {
struct LoadedProject;
}

namespace orv::ui {

class Prompts;
class ReportLauncher;

// The scene picker "SceneTrack": a scene, or all scenes, for the scene
// properties report (purpose 1) or the flag tracker listed by scene
// (purpose 2).
class ScenePicker : public PickerWindow {
    Q_OBJECT
  public:
    ScenePicker(const LoadedProject& project, RunState& run, Prompts& prompts, ReportLauncher& launcher,
                QWidget* parent);

    void setPrompt(const QString& text);
    // Refills Combo1 from the loaded project's scene picker list. After a
    // successful load the list is always refilled and its first entry
    // selected; otherwise an unchanged list keeps its selection.
    void showScenes(bool afterLoad);

    void viewSelectedScene(); // Command1
    void viewAllScenes();     // Command3

  private:
    void runForPurpose();

    const LoadedProject& project_;
    Prompts& prompts_;
    ReportLauncher& launcher_;
    QComboBox* scenes_ = nullptr;
};

} // namespace orv::ui
