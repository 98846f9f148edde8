#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace orv::ui {

// Every message box and file dialog of the program goes through this one
// interface, so that tests can answer them from a script. Texts use CR as
// their line break, as the system's messages always have; the desktop
// implementation shows it as a new line.
class Prompts {
  public:
    enum class Icon { None, Question, Exclamation, Critical };
    enum class Buttons { YesNo, YesNoCancel };
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    // A message with an OK button.
    virtual void showMessage(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
    virtual Answer ask(QWidget* parent, const QString& title, const QString& text, Buttons buttons, Icon icon) = 0;
    // Empty when the user cancels. `filter` is in the toolkit's form,
    // "Description (*.ext)".
    virtual std::optional<QString> chooseOpenFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName,
                                                  const QString& filter) = 0;
    // The folder of the project now loaded (empty: none), where the file
    // dialogs start.
    virtual void setProjectFolder(const QString& folder) { static_cast<void>(folder); }
};

// Before a save to `path`: Yes when no file is there, else the answer to
// "Overwrite the existing file?" (No: choose another name; Cancel: no save).
Prompts::Answer askToOverwrite(Prompts& prompts, QWidget* parent, const QString& path);

} // namespace orv::ui
