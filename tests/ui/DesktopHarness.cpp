#include "DesktopHarness.h"

#include "ui/QtReportHost.h"

#include <QApplication>
#include <QFile>

#include <gtest/gtest.h>

namespace orv::testing {

DesktopHarness::DesktopHarness() {
    // Every yield processes events, so tests that act from the event loop
    // see their action taken at the next unit of work.
    window.reportHost().setYieldInterval(0);
}

void DesktopHarness::locate(const std::filesystem::path& projectFile) {
    prompts.files.push_back(QFile::decodeName(projectFile.c_str()));
    window.locate();
}

QWidget* control(QWidget* window, const QString& name) {
    for (QWidget* child : window->findChildren<QWidget*>(name))
        if (child->window() == window && child != window)
            return child;
    ADD_FAILURE() << "no control " << name.toStdString() << " in " << window->objectName().toStdString();
    return nullptr;
}

QWidget* visibleWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

} // namespace orv::testing
