#include "UiHarness.h"

#include "ui/QtPrompts.h"
#include "ui/RunOnlySettings.h"

// The real dialogs: where the file dialogs start, that nothing of them is
// written for a later run.
TEST(QtPromptsTest, FileDialogsStartWhereTheUserIsAndNothingIsKeptForTheNextRun) {
    const ui::RunOnlySettings settings;
    TempDir dir;
    ui::QtPrompts prompts;
    // The folder the file dialog opens in; the dialog then chooses `answer`
    // (or is cancelled when empty).
    const auto openedIn = [](const std::function<void()>& ask, const QString& answer = {}) {
        QString folder;
        const Watch watch = onModal("CommonDialog1", [&](QWidget& w) {
            auto& dialog = static_cast<QFileDialog&>(w);
            folder = dialog.directory().absolutePath();
            if (answer.isEmpty()) return dialog.reject();
            dialog.selectFile(answer);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        ask();
        return folder;
    };
    for (const char* folder : {"first", "second", "saves"}) fs::create_directories(dir / folder);
    const auto open = [&] { prompts.chooseOpenFile(nullptr, "Locate an Orvanta Project", "Orvanta Projects (*.orv)"); };
    std::optional<QString> saved;
    const auto save = [&] {
        saved = prompts.chooseSaveFile(nullptr, "Save Orvanta Project Report", "Flags Report.rtf", "RichText File (*.rtf)");
    };
    prompts.setProjectFolder(qpath(dir / "first"));
    EXPECT_EQ(openedIn(open), qpath(dir / "first")) << "the current project's folder";
    prompts.setProjectFolder(qpath(dir / "second"));
    prompts.setProjectFolder({}); // its load failed
    EXPECT_EQ(openedIn(open), qpath(dir / "second")) << "the last project opened";
    prompts.setProjectFolder(qpath(dir / "first"));
    EXPECT_EQ(openedIn(save), qpath(dir / "first")) << "nothing saved yet: the project's folder";
    EXPECT_EQ(openedIn(save, qpath(dir / "saves" / "Flags Report.rtf")), qpath(dir / "first"));
    EXPECT_EQ(saved, qpath(dir / "saves" / "Flags Report.rtf"));
    EXPECT_EQ(openedIn(save), qpath(dir / "saves")) << "the last folder saved to";
    const QString config = QDir::homePath() + "/.config";
    EXPECT_TRUE(QDir(config).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) << "no settings file";
}
