#pragma once

#include <QTemporaryDir>

namespace orv::ui {

// The toolkit's own dialogs keep state of their own (the file dialog's last
// folder, its history) in a settings file of the user's. The program
// remembers nothing from one run to the next: while this object lives, such
// settings go to a private temporary folder, removed with it.
class RunOnlySettings {
  public:
    RunOnlySettings();

  private:
    QTemporaryDir folder_;
};

} // namespace orv::ui
