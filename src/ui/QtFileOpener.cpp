#include "ui/QtFileOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace orv::ui {

bool QtFileOpener::OpenWithShell(const QString& file) {
    // The desktop may start a program for a name that does not exist and
    // then fail silently; a missing file is refused here instead.
    if (!QFileInfo(file).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

} // namespace orv::ui
