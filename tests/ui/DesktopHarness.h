#pragma once

#include "FakeClipboard.h"
#include "FakeFileOpener.h"
#include "FakeReportPrinter.h"
#include "FakeTrash.h"
#include "ScriptedPrompts.h"

#include "ui/MainWindow.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"

#include <QString>
#include <QWidget>

#include <filesystem>

namespace orv::testing {

// The desktop program as main() builds it, with fakes for every prompt and
// platform service.
struct DesktopHarness {
    DesktopHarness();

    ui::ProgramState state;
    ScriptedPrompts prompts;
    FakeClipboard clipboard;
    FakeFileOpener opener;
    FakeReportPrinter printer;
    FakeTrash trash;
    ui::Platform platform{prompts, clipboard, opener, printer, trash};
    ui::MainWindow window{state, platform};

    // The Locate button with the file dialog answering `projectFile`.
    void locate(const std::filesystem::path& projectFile);
};

// The control of `window` with that objectName, not one of another window
// that happens to be its child; fails the calling test when there is none.
QWidget* control(QWidget* window, const QString& name);

template <class T>
T* control(QWidget* window, const QString& name) {
    return qobject_cast<T*>(control(window, name));
}

// A top-level window with that objectName that is visible, or null.
QWidget* visibleWindow(const QString& name);

} // namespace orv::testing
