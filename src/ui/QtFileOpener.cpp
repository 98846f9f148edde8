#include "ui/QtFileOpener.h"

#include <QFile>
#include <QFileInfo>

#ifdef ORVANTA_GIO
#include "ui/GioOpener.h"
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace orv::ui {

bool QtFileOpener::OpenWithShell(const QString& file) {
    // The desktop may start a program for a name that does not exist and
    // then fail silently; a missing file is refused here instead.
    if (!QFileInfo(file).isFile())
        return false;
#ifdef ORVANTA_GIO
    // GIO says whether a program was found and started; handing the file to
    // xdg-open would count as success whatever became of it.
    return OpenWithGio(QFile::encodeName(file).toStdString()).opened;
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
#endif
}

} // namespace orv::ui
