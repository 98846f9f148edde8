#pragma once

#include "ui/Prompts.h"

namespace orv::ui {

// Prompts shown with QMessageBox and QFileDialog.
class QtPrompts : public Prompts {
public:
    void showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    Answer ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons, Icon icon) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName,
                                          const QString& filter) override;

private:
    QString lastOpenFolder_;
    QString lastSaveFolder_;
};

} // namespace orv::ui
