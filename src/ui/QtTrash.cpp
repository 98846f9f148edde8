#include "ui/QtTrash.h"

#include "data/ProgramInfo.h"
#include "ui/Prompts.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QFile>
#include <QString>

#ifdef ORVANTA_GIO
#include "ui/GioTrash.h"
#endif

namespace orv::ui {

bool QtTrash::RecycleFile(const std::filesystem::path& file) {
    const QString name = QFile::decodeName(file.c_str());
    QString reason;
#ifdef ORVANTA_GIO
    const TrashOutcome outcome = MoveToGioTrash(file);
    if (outcome.moved)
        return true;
    reason = QString::fromUtf8(outcome.reason.c_str());
#else
    QFile handle(name);
    if (handle.moveToTrash())
        return true;
    reason = handle.errorString();
#endif
    prompts_.showMessage(QApplication::activeModalWidget(), toQString(ApplicationTitle),
                         QStringLiteral("The file could not be sent to the Trash:\r") + name + QStringLiteral("\r\r") +
                             reason,
                         Prompts::Icon::Exclamation);
    return false;
}

} // namespace orv::ui
