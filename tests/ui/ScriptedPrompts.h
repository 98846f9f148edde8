#pragma once

#include "ui/Prompts.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace orv::testing {

// One message box or file dialog the program asked for.
struct PromptRecord {
    enum class Kind { Message, Question, OpenFile, SaveFile };
    Kind kind;
    QString title;
    QString text; // for file dialogs: the dialog's title again
    ui::Prompts::Icon icon = ui::Prompts::Icon::None;
    ui::Prompts::Buttons buttons = ui::Prompts::Buttons::YesNo;
    QString proposedName;
    QString filter;
    QString window; // objectName of the parent window
};

// Prompts answered from a script: questions take the next preset answer,
// file dialogs the next preset file. Every
// prompt is recorded. A prompt the script did not foresee fails the test
// and is answered No, Cancel or with a cancelled dialog.
class ScriptedPrompts : public ui::Prompts {
public:
    std::vector<PromptRecord> records;
    std::deque<Answer> answers;
    std::deque<QString> files; // an empty name: the user cancelled
    // Called with each record as it is made, before the answer returns.
    std::function<void(const PromptRecord&)> onPrompt;

    void showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    Answer ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons, Icon icon) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName,
                                          const QString& filter) override;

    // Texts of the records of one kind, in order.
    std::vector<QString> texts(PromptRecord::Kind kind) const;

private:
    void record(PromptRecord r);
};

} // namespace orv::testing
