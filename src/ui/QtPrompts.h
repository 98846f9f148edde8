#pragma once

#include "ui/Prompts.h"

namespace orv::ui {

// Prompts shown with QMessageBox and QFileDialog. The dialogs start where
// the user is: Locate in the current project's folder, or the last one
// opened; Save in the last folder saved to, or the project's. Nothing of it
// outlives the run.
class QtPrompts : public Prompts {
  public:
    void showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    Answer ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons, Icon icon) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName,
                                          const QString& filter) override;
    void setProjectFolder(const QString& folder) override;

  private:
    QString projectFolder_;
    QString lastProjectFolder_;
    QString lastSaveFolder_;
};

} // namespace orv::ui
