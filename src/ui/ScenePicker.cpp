#include "ui/ScenePicker.h"

#include "data/ProgramInfo.h"
#include "data/Project.h"
#include "reports/RunReport.h"
#include "reports/RunState.h"
#include "ui/Prompts.h"
#include "ui/QtText.h"
#include "ui/ReportLauncher.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace orv::ui {

ScenePicker::ScenePicker(const LoadedProject& project, RunState& run, Prompts& prompts, ReportLauncher& launcher,
                         QWidget* parent)
    : PickerWindow(run, "SceneTrack", parent), project_(project), prompts_(prompts), launcher_(launcher) {
    prompt()->setText(QStringLiteral("View properties for which scene?"));
    scenes_ = new QComboBox(this);
    scenes_->setObjectName(QStringLiteral("Combo1"));
    scenes_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    scenes_->setMinimumContentsLength(28);
    arrange(scenes_, QStringLiteral("<-- View selected scene"), QStringLiteral("View ALL scenes"));
    connect(runButton(), &QPushButton::clicked, this, &ScenePicker::viewSelectedScene);
    connect(allButton(), &QPushButton::clicked, this, &ScenePicker::viewAllScenes);
    showScenes(true);
}

void ScenePicker::setPrompt(const QString& text) {
    prompt()->setText(text);
}

void ScenePicker::showScenes(bool afterLoad) {
    // "Choose a scene...", then "s (name)" for each scene s.
    QStringList entries{QStringLiteral("Choose a scene...")};
    for (std::size_t s = 1; s < project_.SceneNames.size(); ++s)
        entries.append(QStringLiteral("%1 (%2)").arg(s).arg(toQString(project_.SceneNames[s])));
    QStringList shown;
    for (int i = 0; i < scenes_->count(); ++i)
        shown.append(scenes_->itemText(i));
    if (!afterLoad && entries == shown)
        return;
    scenes_->clear();
    scenes_->addItems(entries);
    // Before the first load nothing is chosen; a load chooses the prompt.
    scenes_->setCurrentIndex(project_.SceneNames.empty() ? -1 : 0);
}

void ScenePicker::runForPurpose() {
    launcher_.run(run_.ScenePickerPurpose == 1 ? ScenePropertiesKind : FlagsBySceneKind);
    focusInput();
}

void ScenePicker::viewSelectedScene() {
    if (run_.ReportRunning || launcher_.busy())
        return;
    run_.TrackedScene = static_cast<Integer>(scenes_->currentIndex());
    if (run_.TrackedScene >= 1 && run_.TrackedScene <= project_.SceneCount) {
        run_.ReportRunning = true;
        runForPurpose();
        return;
    }
    prompts_.showMessage(this, toQString(ApplicationTitle), QStringLiteral("Please choose a scene."),
                         Prompts::Icon::None);
}

void ScenePicker::viewAllScenes() {
    if (run_.ReportRunning || launcher_.busy())
        return;
    run_.ReportRunning = true;
    run_.TrackedScene = AllSelector;
    runForPurpose();
}

} // namespace orv::ui
